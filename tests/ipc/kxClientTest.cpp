// The command client against a real server process: start, proof, requests and stop.
#include "kxIpcTestSupport.h"

#include "kxRuzoVori/ipc/kxClient.h"
#include "kxRuzoVori/ipc/kxServer.h"
#include "kxRuzoVori/kxHelpers/kxProcess.h"
#include "kxRuzoVori/kxHelpers/kxShell.h"

#include <wx/sckipc.h>
#include <wx/stopwatch.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace
{
// Exposes what the client keeps for its subclasses.
class ProbeClient : public kxClient
{
public:
    using kxClient::kxClient;
    unsigned char ErrorCount() { return ProtectedGetErrorCount(); }
};

wxString Repeat(const wxString& piece, size_t count)
{
    wxString text;
    for (size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

class ClientTest : public kxServerProcessTest
{
protected:
    wxString Send(kxClient& client, const wxString& command, const wxString& argument,
                  bool expectSuccess = true)
    {
        bool success = !expectSuccess;
        const wxString reply = client.Command(command, argument, success);
        EXPECT_EQ(expectSuccess, success)
            << command.utf8_string() << ": " << reply.Left(200).utf8_string();
        return reply;
    }
};
} // namespace

TEST_F(ClientTest, ConnectStartsTheServerProvesItAndLearnsItsPid)
{
    ProbeClient client(m_server, false, wxS("localhost"), m_port);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(0, CountServers());
    client.Connect();
    EXPECT_TRUE(client.IsConnected());
    EXPECT_EQ(1, CountServers());

    const wxString proof = Send(client, wxS("cmd_identify"), wxString());
    EXPECT_EQ(32U, proof.length());
    EXPECT_TRUE(proof.find_first_not_of(wxS("0123456789ABCDEF")) == wxString::npos);

    unsigned long pid = 0;
    ASSERT_TRUE(kxIsProcessExists(m_server, &pid));
    EXPECT_EQ(wxString::Format(wxS("00000000000000016C%08lX"), pid),
              Send(client, wxS("cmd_getpid"), wxString()));

    // Connected already: nothing is started or sent again, and the stop-all step, public as it
    // is, leaves the live connection and its server alone.
    client.Connect();
    client.PrivateStopAllServers();
    EXPECT_TRUE(client.IsConnected());
    EXPECT_EQ(wxString(wxS("connects=1 disconnects=0 connected=1")),
              Send(client, wxS("counts"), wxString()));
    EXPECT_EQ(1, CountServers());
    EXPECT_EQ(10, client.GetTimeout());
    client.SetTimeout(3);
    EXPECT_EQ(3, client.GetTimeout());
    EXPECT_EQ(0, client.ErrorCount());
    EXPECT_EQ(m_port, client.GetPort());
    EXPECT_EQ(wxString(wxS("localhost")), client.GetHost());

    EXPECT_TRUE(client.StopServer(10000));
    EXPECT_FALSE(kxIsProcessExists(pid));
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(ClientTest, RequestsOfEverySizeArriveByteExact)
{
    kxClient client(m_server, false, wxS("127.0.0.1"), m_port);
    client.Connect();
    // "echo" and its line feed take 5 of the first item's 4096 characters.
    for (size_t length : {0, 1, 4090, 4091, 4092, 4096, 4097, 8187, 8188, 8193, 1 << 20})
    {
        wxString argument;
        for (size_t i = 0; i < length; ++i)
            argument += wxUniChar(static_cast<unsigned>('a' + i % 26));
        EXPECT_EQ(argument, Send(client, wxS("echo"), argument)) << length;
    }
    // Characters beyond the basic plane, and others, cross the cuts intact both ways.
    const wxString mixed = Repeat(wxString::FromUTF8("ü😀€a𝄞"), 3000);
    EXPECT_EQ(mixed, Send(client, wxS("echo"), mixed));
    for (size_t pad = 4085; pad < 4095; ++pad)
    {
        const wxString edge = wxString(pad, wxS('x')) + wxString::FromUTF8("😀😀😀ö");
        EXPECT_EQ(edge, Send(client, wxS("echo"), edge)) << pad;
    }
    EXPECT_EQ(wxString::Format(wxS("%d"), 5000),
              Send(client, wxS("length"), Repeat(wxS("z"), 5000)));
}

TEST_F(ClientTest, LineFeedsCutTheFirstPieceOnly)
{
    kxClient client(m_server, false, wxS("localhost"), m_port);
    client.Connect();
    EXPECT_EQ(wxString(wxS("first")), Send(client, wxS("echo"), wxS("first\nsecond")));
    EXPECT_EQ(wxString(wxS("after")), Send(client, wxS("echo"), wxS("\n\nafter")));
    // Line feeds in later pieces arrive as they were sent.
    const wxString later =
        wxString(5000, wxS('x')) + wxS("\nline\n\nend\n") + wxString(5000, wxS('y')) + wxS("\n");
    EXPECT_EQ(later, Send(client, wxS("echo"), later));
    EXPECT_EQ(wxString(4200, wxS('q')),
              Send(client, wxS("echo"), wxString(4200, wxS('q')) + wxS("\nrest")).Left(4200));
}

TEST_F(ClientTest, ErrorReplies)
{
    kxClient client(m_server, false, wxS("localhost"), m_port);
    client.Connect();

    const wxString logged = Send(client, wxS("log"), wxString(), false);
    EXPECT_TRUE(logged.EndsWith(wxS("handler failed"))) << logged.utf8_string();
    EXPECT_FALSE(logged.Contains(wxS("not this text")));
    EXPECT_FALSE(logged.Contains(wxS("only a warning")));

    EXPECT_EQ(wxString(wxS("thrown by the handler")),
              Send(client, wxS("throw"), wxString(), false));
    EXPECT_EQ(wxString(wxS("Unknown server error in method kxServer::PrivateOnCommand()")),
              Send(client, wxS("throw-other"), wxString(), false));
    // An error in a long request, reported after its last piece.
    EXPECT_EQ(wxString(wxS("thrown by the handler")),
              Send(client, wxS("throw"), wxString(9000, wxS('t')), false));

    EXPECT_EQ(wxString(wxS("Empty server commands are not support.")),
              Send(client, wxString(), wxS("x"), false));
    EXPECT_EQ(wxString(wxS("from the server")),
              Send(client, wxS("echo"), wxS("err:from the server"), false));
    EXPECT_EQ(wxString(wxS("errno")), Send(client, wxS("echo"), wxS("errno")));

    // The server is still in order after all of it.
    EXPECT_EQ(wxString(wxS("fine")), Send(client, wxS("echo"), wxS("fine")));
}

TEST_F(ClientTest, StopRequests)
{
    {
        SetStopMode("veto");
        kxClient client(m_server, false, wxS("localhost"), m_port);
        client.Connect();
        const wxString refused = Send(client, wxS("cmd_stop"), wxString(), false);
        EXPECT_TRUE(refused.EndsWith(wxS("Can not stop server"))) << refused.utf8_string();
        // A refused stop waits for nothing: far less than the time the stop was given.
        wxStopWatch watch;
        EXPECT_FALSE(client.StopServer(60000));
        EXPECT_LT(watch.Time(), 30000);
        EXPECT_TRUE(client.IsConnected());
        EXPECT_EQ(1, CountServers());
        EXPECT_EQ(wxString(wxS("still here")), Send(client, wxS("echo"), wxS("still here")));
    }
    TearDown();
    {
        SetStopMode("ignore");
        kxClient client(m_server, false, wxS("localhost"), m_port);
        client.Connect();
        EXPECT_EQ(wxString(wxS("OK")), Send(client, wxS("cmd_stop"), wxString()));
        EXPECT_EQ(1, CountServers());
    }
}

TEST_F(ClientTest, MisuseAndMissingServers)
{
    kxClient early(m_server, false, wxS("localhost"), m_port);
    bool success = true;
    EXPECT_THROW(early.Command(wxS("echo"), success), kxException);
    EXPECT_THROW(early.GetTimeout(), kxException);
    EXPECT_THROW(early.SetTimeout(1), kxException);
    EXPECT_FALSE(early.StopServer(100));

    try
    {
        kxClient missing(m_dir.File(wxS("no-server")), false, wxS("localhost"), m_port);
        missing.Connect();
        ADD_FAILURE() << "connected without a server file";
    }
    catch (const kxException& e)
    {
        EXPECT_EQ(wxString(wxS("Internal error in constructor kxClient::Connect(). Server file is "
                               "not exist.")),
                  e.GetMsg());
        EXPECT_EQ(wxString(wxS("kxRuzoVori exception")), e.GetClass());
    }
    try
    {
        kxClient noPort(m_server, false, wxS("localhost"), wxString());
        noPort.Connect();
        ADD_FAILURE() << "connected without a port";
    }
    catch (const kxException& e)
    {
        EXPECT_EQ(wxString(wxS("Internal error in constructor kxClient::Connect(). Server host or "
                               "port is not set.")),
                  e.GetMsg());
    }
    EXPECT_EQ(0, CountServers());
}

TEST_F(ClientTest, LostServerIsCountedAndRestarted)
{
    ProbeClient client(m_server, false, wxS("localhost"), m_port);
    client.Connect();
    unsigned long pid = 0;
    ASSERT_TRUE(kxIsProcessExists(m_server, &pid));
    wxKill(static_cast<long>(pid), wxSIGKILL);
    ASSERT_TRUE(kxWaitProcess(pid, 5000));

    EXPECT_FALSE(client.IsConnected());
    const wxString failed = Send(client, wxS("echo"), wxS("anyone?"), false);
    EXPECT_TRUE(
        failed.StartsWith(wxS("Protocol error. Command \"echo\nanyone?\" can not be done.")))
        << failed.utf8_string();
    EXPECT_EQ(1, client.ErrorCount());
    Send(client, wxS("echo"), wxS("again"), false);
    EXPECT_EQ(2, client.ErrorCount());

    client.Connect();
    EXPECT_TRUE(client.IsConnected());
    EXPECT_EQ(0, client.ErrorCount());
    EXPECT_EQ(wxString(wxS("back")), Send(client, wxS("echo"), wxS("back")));
    unsigned long restarted = 0;
    ASSERT_TRUE(kxIsProcessExists(m_server, &restarted));
    EXPECT_NE(pid, restarted);
}

TEST_F(ClientTest, StopAllEndsStrayServers)
{
    // One stray listens on the port and agrees to stop; another cannot listen (the port is
    // taken) and would never answer, so it has to be killed.
    StartServer();
    unsigned long stray = 0;
    ASSERT_TRUE(kxExecute(m_server, stray, wxString(), nullptr));
    ASSERT_TRUE(kxTestWaitFor([this] { return CountServers() == 2; }, 5000));

    kxClient client(m_server, true, wxS("localhost"), m_port);
    client.Connect();
    EXPECT_TRUE(client.IsConnected());
    EXPECT_EQ(1, CountServers());
    bool success = false;
    EXPECT_EQ(wxString(wxS("connects=1 disconnects=0 connected=1")),
              client.Command(wxS("counts"), success));
}

TEST_F(ClientTest, SecondClientReplacesTheFirst)
{
    kxClient first(m_server, false, wxS("localhost"), m_port);
    first.Connect();
    EXPECT_EQ(wxString(wxS("one")), Send(first, wxS("echo"), wxS("one")));

    // A client of another topic is refused and changes nothing.
    wxTCPClient stranger;
    EXPECT_EQ(nullptr, stranger.MakeConnection(wxS("localhost"), m_port, wxS("otherTopic")));
    EXPECT_EQ(wxString(wxS("connects=1 disconnects=0 connected=1")),
              Send(first, wxS("counts"), wxString()));

    kxClient second(m_server, false, wxS("localhost"), m_port);
    second.Connect();
    EXPECT_EQ(wxString(wxS("two")), Send(second, wxS("echo"), wxS("two")));
    EXPECT_EQ(1, CountServers());
    // The replaced client is not served any more: its command fails, never succeeds.
    EXPECT_EQ(wxString(wxS("Protocol error. Command \"echo\none again\" can not be done. No "
                           "server response.")),
              Send(first, wxS("echo"), wxS("one again"), false));
    EXPECT_EQ(wxString(wxS("connects=2 disconnects=0 connected=1")),
              Send(second, wxS("counts"), wxString()));

    // A server that drops its client inside a command loses that reply, and nothing else.
    EXPECT_TRUE(Send(second, wxS("drop"), wxString(), false).EndsWith(wxS("No server response.")));
    // Without an event loop the client learns of the loss only from the failed command.
    second.Disconnect();
    second.Connect();
    EXPECT_EQ(wxString(wxS("three")), Send(second, wxS("echo"), wxS("three")));
    EXPECT_TRUE(second.StopServer(10000));
}

namespace
{
// A peer that speaks the toolkit's framing but is no server of ours: it accepts the topic and
// answers every request with the same text.
class FakeServer
{
public:
    explicit FakeServer(const std::string& answer) : m_answer(answer)
    {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(m_listener, 4);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = wxString::Format(wxS("%u"), static_cast<unsigned>(ntohs(address.sin_port)));
        m_thread = std::thread([this] { Serve(); });
    }
    ~FakeServer()
    {
        shutdown(m_listener, SHUT_RDWR);
        close(m_listener);
        m_thread.join();
    }
    const wxString& GetPort() const { return m_port; }
    int m_requests = 0;

private:
    static bool Read(int peer, std::string& bytes, size_t count)
    {
        bytes.resize(count);
        return count == 0 ||
               recv(peer, &bytes[0], count, MSG_WAITALL) == static_cast<ssize_t>(count);
    }
    static bool ReadText(int peer, std::string& text)
    {
        std::string length;
        if (!Read(peer, length, 4))
            return false;
        size_t size = 0;
        for (int i = 3; i >= 0; --i)
            size = (size << 8) | static_cast<unsigned char>(length[i]);
        return size < (1 << 20) && Read(peer, text, size);
    }
    void Serve()
    {
        const int peer = accept(m_listener, nullptr, nullptr);
        if (peer < 0)
            return;
        std::string code, text, format;
        if (Read(peer, code, 1) && ReadText(peer, text))
        {
            send(peer, "\x0a", 1, MSG_NOSIGNAL);
            while (Read(peer, code, 1) && code[0] == KX_IPC_REQUEST && ReadText(peer, text) &&
                   Read(peer, format, 1))
            {
                ++m_requests;
                std::string reply = std::string(1, KX_IPC_REQUEST_REPLY) +
                                    kxTestIpcText(m_answer + std::string(1, '\0'));
                send(peer, reply.data(), reply.size(), MSG_NOSIGNAL);
            }
        }
        close(peer);
    }

    std::string m_answer;
    int m_listener;
    wxString m_port;
    std::thread m_thread;
};

wxString ConnectFailure(kxClient& client)
{
    try
    {
        client.Connect();
    }
    catch (const kxException& e)
    {
        return e.GetMsg();
    }
    return wxString();
}
} // namespace

TEST(ClientIdentity, PeersThatCannotProveThemselvesAreRefused)
{
    // The server file is this very program: it runs, so the client starts nothing and goes
    // straight to the peer on the port.
    const wxString self = kxGetAppDir() + wxS("kxIpcTests");
    for (const char* answer : {"", "0123456789ABCDEF", "0123456789ABCDEF0123456789ABCDEF",
                               "0123456789ABCDEF0123456789ABCDEF0", "err:no"})
    {
        FakeServer fake(answer);
        kxClient client(self, false, wxS("localhost"), fake.GetPort());
        EXPECT_EQ(wxString(wxS("Can not identify server")), ConnectFailure(client)) << answer;
        EXPECT_FALSE(client.IsConnected());
        bool success = true;
        // Refused means disconnected: nothing more reaches the peer.
        EXPECT_EQ(wxString(wxS("Can not call Command() method. Connection object is not created. "
                               "Call this method after Connect().")),
                  client.Command(wxS("echo"), success));
        EXPECT_FALSE(success);
    }
}

TEST(ClientIdentity, AGenuineProofIsNotEnoughWithoutAProcessId)
{
    // Today's proof, as any server of the library gives it.
    class Quiet : public kxServer
    {
    protected:
        wxString ProtectedOnCommand(wxString&, wxString&) override { return wxString(); }
    } genuine;
    wxString identify = wxS("cmd_identify");
    wxString none;
    FakeServer fake(genuine.PrivateOnCommand(identify, none).utf8_string());
    kxClient client(kxGetAppDir() + wxS("kxIpcTests"), false, wxS("localhost"), fake.GetPort());
    EXPECT_EQ(wxString(wxS("Internal error in kxClient::Connect(). Can not receive server PID")),
              ConnectFailure(client));
    EXPECT_FALSE(client.IsConnected());
}
