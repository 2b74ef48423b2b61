// The command channel between two processes against a raw TCP ping-pong of the same sizes over
// loopback, the physical anchor. A third row measures the toolkit's own IPC (the same items,
// a trivial server) so that the time splits into socket, toolkit and library shares.
//
// The program is its own server: a copy of it, started with KX_BENCH_IPC_MODE set, serves
// either the library's channel ("library") or the toolkit's bare IPC ("toolkit"). The raw peer
// is a forked child.
#include "kxRuzoVori/kxRuzoVori.h"
#include "support/kxBenchSupport.h"

#include <wx/app.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/init.h>
#include <wx/sckipc.h>
#include <wx/utils.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
const int ROUND_TRIPS = 2000;
const size_t BIG = 1 << 20;
const size_t PIECE = 4096;

// ---- the servers (run in the copy) ----

class StopHandler : public kxEventHandler
{
public:
    bool OnStop(kxEventable&, kxParams&)
    {
        wxAppConsole* app = wxAppConsole::GetInstance();
        app->CallAfter([app] { app->ExitMainLoop(); });
        return true;
    }
};

class BenchServer : public kxServer
{
public:
    BenchServer()
    {
        AddHandler(EVENT_STOP, static_cast<kxEventMethod>(&StopHandler::OnStop), &m_stopHandler);
    }

private:
    StopHandler m_stopHandler;

protected:
    wxString ProtectedOnCommand(wxString& command, wxString& argument) override
    {
        if (command == wxS("len"))
            return wxString::Format(wxS("%zu"), argument.length());
        return argument;
    }
};

// The toolkit's IPC with the least a server can do.
// Both ends send without delay, as the library's do.
void NoDelay(wxSocketBase* socket)
{
    int on = 1;
    if (socket)
        socket->SetOption(IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

class BareConnection : public wxTCPConnection
{
public:
    const void* OnRequest(const wxString&, const wxString& item, size_t*, wxIPCFormat) override
    {
        NoDelay(m_sock);
        // Like the channel: a whole request is echoed, a piece of a longer one acknowledged.
        m_reply = item.StartsWith(wxS("0")) ? item.Mid(1).utf8_str() : wxCharBuffer("OK");
        return m_reply.data();
    }
    void SendWithoutDelay() { NoDelay(m_sock); }

private:
    wxCharBuffer m_reply;
};

class BareClient : public wxTCPClient
{
public:
    wxConnectionBase* OnMakeConnection() override { return new BareConnection(); }
};

class BareServer : public wxTCPServer
{
public:
    wxConnectionBase* OnAcceptConnection(const wxString&) override { return new BareConnection(); }
};

class BenchServerApp : public wxAppConsole
{
public:
    bool OnInit() override
    {
        wxString mode, port;
        wxGetEnv(wxS("KX_BENCH_IPC_MODE"), &mode);
        wxGetEnv(wxS("KX_BENCH_IPC_PORT"), &port);
        if (mode == wxS("toolkit"))
        {
            m_bare = new BareServer();
            return m_bare->Create(port);
        }
        m_server = new BenchServer();
        m_server->Start(port);
        return true;
    }
    int OnExit() override
    {
        delete m_server;
        delete m_bare;
        return 0;
    }

private:
    BenchServer* m_server = nullptr;
    BareServer* m_bare = nullptr;
};

// ---- the raw TCP peer (a forked child) ----

bool SendAll(int socket, const char* data, size_t size)
{
    while (size > 0)
    {
        const ssize_t sent = send(socket, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

bool ReceiveAll(int socket, char* data, size_t size)
{
    while (size > 0)
    {
        const ssize_t got = recv(socket, data, size, 0);
        if (got <= 0)
            return false;
        data += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

// One message: a 4-byte length and the bytes. The peer answers each with a short message.
bool SendMessage(int socket, const std::string& payload)
{
    const uint32_t length = htonl(static_cast<uint32_t>(payload.size()));
    return SendAll(socket, reinterpret_cast<const char*>(&length), 4) &&
           SendAll(socket, payload.data(), payload.size());
}

bool ReceiveMessage(int socket, std::string& payload)
{
    uint32_t length = 0;
    if (!ReceiveAll(socket, reinterpret_cast<char*>(&length), 4))
        return false;
    payload.resize(ntohl(length));
    return ReceiveAll(socket, &payload[0], payload.size());
}

void RunRawPeer(int listener)
{
    const int socket = accept(listener, nullptr, nullptr);
    int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    std::string message;
    while (ReceiveMessage(socket, message))
    {
        // Short requests are echoed as the channel echoes them; long ones get their length.
        const std::string reply =
            message.size() > 64 ? std::to_string(message.size()) : message.substr(5);
        if (!SendMessage(socket, reply))
            break;
    }
    close(socket);
}

int ConnectRaw(unsigned short port)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return -1;
    return socket;
}

int ListenRaw(unsigned short& port)
{
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return listener;
}

wxString FreePort()
{
    unsigned short port = 0;
    close(ListenRaw(port));
    return wxString::Format(wxS("%u"), static_cast<unsigned>(port));
}

// ---- the client (the benchmark itself) ----

wxString CopyOfSelf(const wxString& name)
{
    const wxString copy =
        wxFileName::GetTempDir() + wxString::Format(wxS("/%s-%lu"), name, wxGetProcessId());
    wxCopyFile(kxGetAppDir() + wxS("kxBenchIpc"), copy);
    chmod(copy.fn_str(), 0755);
    return copy;
}

int RunBenchmark()
{
    wxInitializer toolkit;
    if (!toolkit.IsOk())
        return 1;
    const std::string big(BIG, 'x');
    const wxString bigText(BIG, wxS('x'));
    const std::string shortRequest = "echo\nping";

    unsigned short rawPort = 0;
    const int listener = ListenRaw(rawPort);
    const pid_t peer = fork();
    if (peer == 0)
    {
        RunRawPeer(listener);
        _exit(0);
    }
    close(listener);
    const int raw = ConnectRaw(rawPort);

    const wxString server = CopyOfSelf(wxS("kxBenchIpcServer"));
    const wxString port = FreePort();
    wxSetEnv(wxS("KX_BENCH_IPC_MODE"), wxS("library"));
    wxSetEnv(wxS("KX_BENCH_IPC_PORT"), port);
    kxClient client(server, true, wxS("localhost"), port);
    client.Connect();

    printf("%d round trips of a short command; requests of %zu characters\n", ROUND_TRIPS, BIG);
    bool success = false;
    std::string reply;
    kxBenchCompare(
        "ipc-roundtrip-vs-tcp",
        [&]
        {
            for (int i = 0; i < ROUND_TRIPS; ++i)
                kxBenchKeep(client.Command(wxS("echo"), wxS("ping"), success).wc_str());
        },
        [&]
        {
            for (int i = 0; i < ROUND_TRIPS; ++i)
            {
                SendMessage(raw, shortRequest);
                ReceiveMessage(raw, reply);
            }
        });
    kxBenchCompare(
        "ipc-1mib-vs-tcp",
        [&] { kxBenchKeep(client.Command(wxS("len"), bigText, success).wc_str()); },
        [&]
        {
            SendMessage(raw, big);
            ReceiveMessage(raw, reply);
        },
        static_cast<double>(BIG));
    client.StopServer(10000);

    // The toolkit alone, sending the same items to a server that only echoes them.
    const wxString bare = CopyOfSelf(wxS("kxBenchIpcBare"));
    unsigned long barePid = 0;
    wxSetEnv(wxS("KX_BENCH_IPC_MODE"), wxS("toolkit"));
    kxExecute(bare, barePid, wxString(), nullptr);
    BareClient toolkitClient;
    BareConnection* connection = nullptr;
    for (int attempt = 0; attempt < 200 && !connection; ++attempt)
    {
        wxMilliSleep(20);
        connection = static_cast<BareConnection*>(
            toolkitClient.MakeConnection(wxS("localhost"), port, wxS("kxTopic")));
    }
    if (!connection)
        return 1;
    connection->SendWithoutDelay();
    size_t size = 0;
    const double toolkitShort = kxBenchMedian(
        [&]
        {
            for (int i = 0; i < ROUND_TRIPS; ++i)
                kxBenchKeep(connection->Request(wxS("0echo\nping"), &size, wxIPC_UTF8TEXT));
        });
    kxBenchRow("toolkit ipc, same round trips", toolkitShort);
    const wxString piece = wxS("2") + wxString(PIECE, wxS('x'));
    const double toolkitBig = kxBenchMedian(
        [&]
        {
            for (size_t sent = 0; sent < BIG; sent += PIECE)
                kxBenchKeep(connection->Request(piece, &size, wxIPC_UTF8TEXT));
        });
    kxBenchRow("toolkit ipc, same 1 MiB in items", toolkitBig, static_cast<double>(BIG));
    delete connection;

    wxKill(static_cast<long>(barePid), wxSIGKILL);
    kxWaitProcess(barePid, 5000);
    close(raw);
    waitpid(peer, nullptr, 0);
    wxRemoveFile(server);
    wxRemoveFile(bare);
    return 0;
}
} // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchServerApp);

int main(int argc, char** argv)
{
    if (getenv("KX_BENCH_IPC_MODE"))
        return wxEntry(argc, argv);
    return RunBenchmark();
}
