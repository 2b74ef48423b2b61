// Real servers for the HTTP tests, each started on 127.0.0.1 on a free port with a private
// configuration in a scratch folder and stopped with the fixture: nginx serving files over http
// and https, the httpbin echo service under gunicorn, tinyproxy with Basic authentication, and
// a scripted raw server for hostile behaviour.
#ifndef KXTESTS_KXHTTPTESTSERVERS_H
#define KXTESTS_KXHTTPTESTSERVERS_H

#include "support/kxTestSupport.h"

#include <wx/string.h>

#include <atomic>
#include <functional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

// A server program run for one fixture: started until its port answers, ended by its id.
class kxTestServerProcess
{
public:
    kxTestServerProcess() = default;
    ~kxTestServerProcess() { Stop(); }
    kxTestServerProcess(const kxTestServerProcess&) = delete;
    kxTestServerProcess& operator=(const kxTestServerProcess&) = delete;

    // Runs argv with its output in log and waits until port accepts connections.
    bool Start(const std::vector<std::string>& argv, const std::string& log, int port);
    void Stop();

private:
    pid_t m_pid = -1;
};

// nginx with the folder www as its root on three ports: http, https with a certificate for
// localhost and 127.0.0.1 from the test CA, and https with the CA's certificate for another
// host. /nolength/ serves the same files without Content-Length, /fail answers 500.
class kxTestNginx
{
public:
    kxTestNginx();

    bool IsOk() const { return m_ok; }
    // Writes a file into the served folder.
    bool Put(const std::string& name, const std::string& bytes) const;
    wxString WwwFile(const std::string& name) const;
    wxString Url(const std::string& path) const;
    wxString TlsUrl(const std::string& path, const std::string& host = "localhost") const;
    wxString OtherHostUrl(const std::string& path) const;
    int Port() const { return m_port; }
    int TlsPort() const { return m_tlsPort; }
    // The access log: one line per request, with the Proxy-Authorization header it carried.
    std::string AccessLog() const;
    // Whether text shows in the access log within a few seconds: nginx writes a request's line
    // only after the client may already have the whole response.
    bool Logged(const std::string& text) const;

private:
    kxTestTempDir m_dir;
    kxTestServerProcess m_process;
    int m_port = 0;
    int m_tlsPort = 0;
    int m_otherPort = 0;
    bool m_ok = false;
};

// httpbin under gunicorn: /get, /post, /headers, /cookies, /basic-auth/<user>/<password> ...
// echo what they received as JSON.
class kxTestHttpbin
{
public:
    kxTestHttpbin();

    bool IsOk() const { return m_port > 0; }
    int Port() const { return m_port; }
    wxString Url(const std::string& path, const std::string& host = "127.0.0.1") const;

private:
    kxTestTempDir m_dir;
    kxTestServerProcess m_process;
    int m_port = 0;
};

// tinyproxy asking for Basic authentication as user "proxyuser", password "proxy-pass".
class kxTestTinyproxy
{
public:
    kxTestTinyproxy();

    bool IsOk() const { return m_port > 0; }
    int Port() const { return m_port; }
    // The requests the proxy was asked for so far, as it logged their request lines.
    std::vector<std::string> Requests() const;

private:
    kxTestTempDir m_dir;
    kxTestServerProcess m_process;
    int m_port = 0;
};

// A server in this process that hands each accepted connection to a script, one at a time,
// and keeps what the client sent.
class kxTestRawServer
{
public:
    // The script gets the connection's descriptor; the connection is closed when it returns.
    explicit kxTestRawServer(std::function<void(int connection)> script);
    ~kxTestRawServer();
    kxTestRawServer(const kxTestRawServer&) = delete;
    kxTestRawServer& operator=(const kxTestRawServer&) = delete;

    int Port() const { return m_port; }
    wxString Url(const std::string& path) const;

    // Helpers for scripts: read the request head (up to an empty line), write bytes, and wait
    // until the client goes away or the server ends.
    static std::string ReadHead(int connection);
    static bool Write(int connection, const std::string& bytes);
    void WaitForClose(int connection) const;

private:
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

#endif
