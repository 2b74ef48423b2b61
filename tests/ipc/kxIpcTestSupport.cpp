// Private copies of the test server program, free loopback ports and raw framing for hand-made
// peers.
#include "kxIpcTestSupport.h"

#include "kxRuzoVori/kxHelpers/kxProcess.h"
#include "kxRuzoVori/platform/kxPlatformProcess.h"

#include <wx/dir.h>
#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
sockaddr_in Loopback(unsigned short port)
{
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

std::string Le32(size_t value)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}
} // namespace

std::string kxTestIpcText(const std::string& text)
{
    return Le32(text.size()) + text;
}

std::string kxTestIpcGreeting(const std::string& topic)
{
    return std::string(1, static_cast<char>(KX_IPC_CONNECT)) + kxTestIpcText(topic);
}

std::string kxTestIpcRequest(const std::string& item)
{
    return std::string(1, static_cast<char>(KX_IPC_REQUEST)) + kxTestIpcText(item) +
           std::string(1, static_cast<char>(KX_IPC_UTF8TEXT));
}

bool kxTestRawPeer::Connect(const wxString& port)
{
    Close();
    m_socket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(static_cast<unsigned short>(wxAtoi(port)));
    return m_socket >= 0 &&
           connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

bool kxTestRawPeer::Send(const std::string& bytes, int ms)
{
    size_t sent = 0;
    while (m_socket >= 0 && sent < bytes.size())
    {
        pollfd wait = {m_socket, POLLOUT, 0};
        if (poll(&wait, 1, ms) <= 0)
            return false;
        const ssize_t count =
            send(m_socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count < 0 && errno == EAGAIN)
            continue;
        if (count <= 0)
            return false;
        sent += static_cast<size_t>(count);
    }
    return m_socket >= 0;
}

std::string kxTestRawPeer::Receive(size_t count, int ms)
{
    std::string bytes;
    while (m_socket >= 0 && bytes.size() < count)
    {
        pollfd wait = {m_socket, POLLIN, 0};
        if (poll(&wait, 1, ms) <= 0)
            break;
        char buffer[65536];
        const size_t want = std::min(sizeof buffer, count - bytes.size());
        const ssize_t got = recv(m_socket, buffer, want, 0);
        if (got <= 0)
            break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    return bytes;
}

bool kxTestRawPeer::Greet(const std::string& topic)
{
    // Generous: a loaded machine may keep the server from answering for a while.
    return Send(kxTestIpcGreeting(topic)) && Receive(1, 30000) == std::string(1, KX_IPC_CONNECT);
}

bool kxTestRawPeer::Request(const std::string& item, std::string& reply, int ms)
{
    if (!Send(kxTestIpcRequest(item)) || Receive(1, ms) != std::string(1, KX_IPC_REQUEST_REPLY))
        return false;
    const std::string length = Receive(4, ms);
    if (length.size() != 4)
        return false;
    size_t size = 0;
    for (int i = 3; i >= 0; --i)
        size = (size << 8) | static_cast<unsigned char>(length[i]);
    reply = Receive(size, ms);
    if (reply.size() != size)
        return false;
    if (!reply.empty() && reply.back() == '\0')
        reply.pop_back();
    return true;
}

bool kxTestRawPeer::WaitClosed(int ms)
{
    wxStopWatch watch;
    while (m_socket >= 0)
    {
        const long left = std::max(0L, ms - watch.Time());
        pollfd wait = {m_socket, POLLIN, 0};
        if (poll(&wait, 1, static_cast<int>(left)) <= 0)
            return false;
        char buffer[4096];
        if (recv(m_socket, buffer, sizeof buffer, 0) <= 0)
            return true;
    }
    return false;
}

bool kxTestRawPeer::WaitHungUp(int ms)
{
    pollfd wait = {m_socket, POLLRDHUP, 0};
    return m_socket >= 0 && poll(&wait, 1, ms) > 0;
}

void kxTestRawPeer::Close()
{
    if (m_socket >= 0)
        close(m_socket);
    m_socket = -1;
}

void kxServerProcessTest::SetUp()
{
    m_server = m_dir.File(wxS("kxTestServer"));
    ASSERT_TRUE(wxCopyFile(kxTestBinaryDir() + wxS("/tests/ipc/kxTestServer"), m_server));
    ASSERT_EQ(0, chmod(m_server.fn_str(), 0755));
    m_port = kxTestFreePort();
    ASSERT_FALSE(m_port.empty());
    setenv("KX_TEST_PORT", m_port.fn_str(), 1);
    SetStopMode("accept");
    // Under the sanitizers a server's findings land in a file the test looks at.
    if (const char* asan = getenv("ASAN_OPTIONS"))
    {
        std::string options = asan;
        if (options.find("log_path=") == std::string::npos)
        {
            m_sanitizerLog = m_dir.File(wxS("server-asan"));
            options += ":log_path=" + std::string(m_sanitizerLog.fn_str());
            setenv("ASAN_OPTIONS", options.c_str(), 1);
        }
    }
}

void kxServerProcessTest::TearDown()
{
    unsigned long pid = 0;
    for (int i = 0; i < 50 && kxIsProcessExists(m_server, &pid); ++i)
    {
        kxPlatform::KillProcess(pid);
        kxWaitProcess(pid, 2000);
    }
    if (!m_sanitizerLog.empty())
    {
        wxArrayString reports;
        wxDir::GetAllFiles(m_dir.GetPath(), &reports, wxS("server-asan*"));
        for (const wxString& report : reports)
        {
            wxString text;
            wxFFile(report).ReadAll(&text);
            ADD_FAILURE() << "server sanitizer report:\n" << text.utf8_string();
        }
    }
}

unsigned long kxServerProcessTest::StartServer()
{
    unsigned long pid = 0;
    EXPECT_TRUE(kxExecute(m_server, pid, wxString(), nullptr));
    EXPECT_TRUE(WaitListening(20000));
    return pid;
}

bool kxServerProcessTest::WaitListening(int ms)
{
    return kxTestWaitFor(
        [this]
        {
            kxTestRawPeer probe;
            return probe.Connect(m_port);
        },
        ms);
}

int kxServerProcessTest::CountServers()
{
    std::vector<kxPlatform::ProcessInfo> list;
    int error = 0;
    kxPlatform::ListProcesses(list, error);
    const kxPlatform::FileId file = kxPlatform::GetFileId(m_server);
    int count = 0;
    for (const kxPlatform::ProcessInfo& process : list)
        count += process.m_file == file && kxPlatform::IsProcessRunning(process.m_pid) ? 1 : 0;
    return count;
}

void kxServerProcessTest::SetStopMode(const char* mode)
{
    setenv("KX_TEST_STOP", mode, 1);
}

long kxServerProcessTest::ResidentKiB(unsigned long pid)
{
    FILE* status = fopen(wxString::Format(wxS("/proc/%lu/status"), pid).fn_str(), "r");
    if (!status)
        return -1;
    char line[256];
    long kib = -1;
    while (fgets(line, sizeof line, status))
        if (sscanf(line, "VmRSS: %ld", &kib) == 1)
            break;
    fclose(status);
    return kib;
}

int kxServerProcessTest::OpenDescriptors(unsigned long pid)
{
    std::error_code error;
    int count = 0;
    for (std::filesystem::directory_iterator it("/proc/" + std::to_string(pid) + "/fd", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++count;
    return error ? -1 : count;
}
