// Starting the real servers of the HTTP tests on loopback: nginx, httpbin, tinyproxy and a scripted
// raw server.
#include "kxHttpTestServers.h"

#include "support/kxTestCertificates.h"

#include <wx/filename.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{
sockaddr_in Loopback(int port)
{
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<unsigned short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool Accepts(int port)
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = Loopback(port);
    const bool ok = probe >= 0 && connect(probe, reinterpret_cast<const sockaddr*>(&address),
                                          sizeof address) == 0;
    if (probe >= 0)
        close(probe);
    return ok;
}

int FreePort()
{
    return wxAtoi(kxTestFreePort());
}

std::string Path(const kxTestTempDir& dir, const char* name)
{
    return dir.File(wxString::FromUTF8(name)).utf8_string();
}

// Starts a server whose configuration names its port, trying again on another free port when
// a rival took the first one meanwhile.
template <typename Launch> int StartOnFreePort(Launch launch)
{
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        const int port = FreePort();
        if (port > 0 && launch(port))
            return port;
    }
    return 0;
}
} // namespace

// ---- kxTestServerProcess ----

bool kxTestServerProcess::Start(const std::vector<std::string>& arguments, const std::string& log,
                                int port)
{
    Stop();
    std::vector<std::string> words = arguments;
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const bool spawned =
        posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!spawned)
    {
        m_pid = -1;
        return false;
    }
    // A server that gave up (its port taken, a bad configuration) ends instead of answering.
    for (int i = 0; i < 1500; ++i)
    {
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid)
        {
            m_pid = -1;
            return false;
        }
        if (Accepts(port))
            return true;
        usleep(20000);
    }
    Stop();
    return false;
}

void kxTestServerProcess::Stop()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    for (int i = 0; i < 500; ++i)
    {
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid)
        {
            m_pid = -1;
            return;
        }
        usleep(10000);
    }
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

// ---- nginx ----

kxTestNginx::kxTestNginx()
{
    const kxTestCertificates& certificates = kxTestGetCertificates();
    if (m_dir.GetPath().empty() || !certificates.IsOk() ||
        !wxFileName::Mkdir(m_dir.File(wxS("www"))) || !wxFileName::Mkdir(m_dir.File(wxS("tmp"))))
        return;
    const std::string root = m_dir.GetPath().utf8_string();
    m_tlsPort = FreePort();
    m_otherPort = FreePort();
    const std::string config = root + "/nginx.conf";
    m_port = StartOnFreePort(
        [&](int port)
        {
            std::ostringstream text;
            text << "daemon off;\nmaster_process off;\npid " << root << "/nginx.pid;\n"
                 << "error_log " << root << "/error.log;\nevents { worker_connections 64; }\n"
                 << "http {\n  log_format kx '$request|$http_proxy_authorization';\n"
                 << "  access_log " << root << "/access.log kx;\n";
            for (const char* temp : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
                text << "  " << temp << "_temp_path " << root << "/tmp;\n";
            text << "  default_type application/octet-stream;\n  sendfile on;\n";
            const auto server = [&](int listen, const kxTestKeyPair* tls)
            {
                text << "  server {\n    listen 127.0.0.1:" << listen << (tls ? " ssl" : "")
                     << ";\n    root " << root << "/www;\n";
                if (tls)
                    text << "    ssl_certificate " << tls->m_certificate << ";\n"
                         << "    ssl_certificate_key " << tls->m_key << ";\n";
                text << "    location /nolength/ { alias " << root << "/www/; "
                     << "sub_filter_types *; sub_filter 'kx-never-there' ''; }\n"
                     << "    location = /fail { return 500 \"failed\\n\"; }\n  }\n";
            };
            server(port, nullptr);
            server(m_tlsPort, &certificates.Trusted());
            server(m_otherPort, &certificates.OtherHost());
            text << "}\n";
            return kxTestWriteFile(wxString::FromUTF8(config), text.str()) &&
                   m_process.Start({"nginx", "-p", root, "-c", config, "-e", root + "/error.log"},
                                   root + "/nginx.out", port) &&
                   Accepts(m_tlsPort) && Accepts(m_otherPort);
        });
    m_ok = m_port > 0;
}

bool kxTestNginx::Put(const std::string& name, const std::string& bytes) const
{
    return kxTestWriteFile(WwwFile(name), bytes);
}

wxString kxTestNginx::WwwFile(const std::string& name) const
{
    return m_dir.File(wxS("www/") + wxString::FromUTF8(name));
}

wxString kxTestNginx::Url(const std::string& path) const
{
    return wxString::Format(wxS("http://127.0.0.1:%d%s"), m_port, wxString::FromUTF8(path));
}

wxString kxTestNginx::TlsUrl(const std::string& path, const std::string& host) const
{
    return wxString::Format(wxS("https://%s:%d%s"), wxString::FromUTF8(host), m_tlsPort,
                            wxString::FromUTF8(path));
}

wxString kxTestNginx::OtherHostUrl(const std::string& path) const
{
    return wxString::Format(wxS("https://localhost:%d%s"), m_otherPort, wxString::FromUTF8(path));
}

std::string kxTestNginx::AccessLog() const
{
    return kxTestReadFile(m_dir.File(wxS("access.log"))).utf8_string();
}

bool kxTestNginx::Logged(const std::string& text) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (AccessLog().find(text) == std::string::npos)
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// ---- httpbin ----

kxTestHttpbin::kxTestHttpbin()
{
    const std::string log = Path(m_dir, "gunicorn.log");
    m_port = StartOnFreePort(
        [&](int port)
        {
            return m_process.Start({"/usr/bin/python3", "-m", "gunicorn", "--workers", "1",
                                    "--bind", "127.0.0.1:" + std::to_string(port), "httpbin:app"},
                                   log, port);
        });
}

wxString kxTestHttpbin::Url(const std::string& path, const std::string& host) const
{
    return wxString::Format(wxS("http://%s:%d%s"), wxString::FromUTF8(host), m_port,
                            wxString::FromUTF8(path));
}

// ---- tinyproxy ----

kxTestTinyproxy::kxTestTinyproxy()
{
    const std::string config = Path(m_dir, "tinyproxy.conf");
    const std::string log = Path(m_dir, "tinyproxy.log");
    m_port = StartOnFreePort(
        [&](int port)
        {
            std::ostringstream text;
            text << "Port " << port << "\nListen 127.0.0.1\nTimeout 30\nLogLevel Connect\n"
                 << "LogFile \"" << log << "\"\nPidFile \"" << Path(m_dir, "tinyproxy.pid")
                 << "\"\nMaxClients 10\nAllow 127.0.0.1\nBasicAuth proxyuser proxy-pass\n";
            return kxTestWriteFile(wxString::FromUTF8(config), text.str()) &&
                   m_process.Start({"tinyproxy", "-d", "-c", config}, Path(m_dir, "out.log"), port);
        });
}

std::vector<std::string> kxTestTinyproxy::Requests() const
{
    std::vector<std::string> requests;
    std::istringstream log(kxTestReadFile(m_dir.File(wxS("tinyproxy.log"))).utf8_string());
    std::string line;
    const std::string marker = "): ";
    while (std::getline(log, line))
    {
        if (line.find("Request (file descriptor") != std::string::npos)
            requests.push_back(line.substr(line.find(marker) + marker.size()));
    }
    return requests;
}

// ---- the raw server ----

kxTestRawServer::kxTestRawServer(std::function<void(int)> script)
{
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (m_listener < 0 ||
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_listener, 8) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread(
        [this, script]
        {
            while (!m_stopping)
            {
                pollfd entry{m_listener, POLLIN, 0};
                if (poll(&entry, 1, 50) <= 0)
                    continue;
                const int connection = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
                if (connection < 0)
                    continue;
                script(connection);
                close(connection);
            }
        });
}

kxTestRawServer::~kxTestRawServer()
{
    m_stopping = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener >= 0)
        close(m_listener);
}

wxString kxTestRawServer::Url(const std::string& path) const
{
    return wxString::Format(wxS("http://127.0.0.1:%d%s"), m_port, wxString::FromUTF8(path));
}

std::string kxTestRawServer::ReadHead(int connection)
{
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos)
    {
        pollfd entry{connection, POLLIN, 0};
        if (poll(&entry, 1, 10000) <= 0)
            break;
        const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        head.append(buffer, static_cast<size_t>(got));
    }
    return head;
}

bool kxTestRawServer::Write(int connection, const std::string& bytes)
{
    return send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
}

void kxTestRawServer::WaitForClose(int connection) const
{
    char buffer[4096];
    while (!m_stopping)
    {
        pollfd entry{connection, POLLIN, 0};
        if (poll(&entry, 1, 50) > 0 && recv(connection, buffer, sizeof buffer, 0) <= 0)
            return;
    }
}
