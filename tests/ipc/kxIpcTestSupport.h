// What the channel tests share: a private copy of the test server program per test (so that
// stopping "every instance" never touches another test's server), free loopback ports, and a
// raw TCP peer that speaks as much of the toolkit's IPC framing as a test needs.
#ifndef KXTESTS_KXIPCTESTSUPPORT_H
#define KXTESTS_KXIPCTESTSUPPORT_H

#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/string.h>

#include <string>

// The toolkit's IPC framing: a message code, then texts as a 32-bit little-endian length and
// UTF-8 bytes.
enum
{
    KX_IPC_EXECUTE = 1,
    KX_IPC_REQUEST = 2,
    KX_IPC_POKE = 3,
    KX_IPC_ADVISE_START = 4,
    KX_IPC_REQUEST_REPLY = 8,
    KX_IPC_FAIL = 9,
    KX_IPC_CONNECT = 10,
    KX_IPC_UTF8TEXT = 17
};
std::string kxTestIpcText(const std::string& text);
std::string kxTestIpcGreeting(const std::string& topic);
std::string kxTestIpcRequest(const std::string& item);

// A raw TCP connection to 127.0.0.1.
class kxTestRawPeer
{
public:
    kxTestRawPeer() = default;
    ~kxTestRawPeer() { Close(); }
    kxTestRawPeer(const kxTestRawPeer&) = delete;
    kxTestRawPeer& operator=(const kxTestRawPeer&) = delete;

    bool Connect(const wxString& port);
    // Sends all of bytes within ms; false when the peer did not take them in time.
    bool Send(const std::string& bytes, int ms = 10000);
    // Reads exactly count bytes, waiting at most ms; returns what arrived.
    std::string Receive(size_t count, int ms);
    // Greets with topic and reads the answer: true when the server accepted.
    bool Greet(const std::string& topic);
    // Sends a request item and reads the reply text; false when none came.
    bool Request(const std::string& item, std::string& reply, int ms);
    // True when the server closed the connection within ms; what it sent before is skipped.
    bool WaitClosed(int ms);
    // The same without reading anything.
    bool WaitHungUp(int ms);
    void Close();

private:
    int m_socket = -1;
};

// Each test gets its own copy of the test server program and a free port, and ends every
// process of that copy when it is done.
class kxServerProcessTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the server copy directly (not through a client) and waits until it listens.
    unsigned long StartServer();
    // Waits until something accepts connections on the port.
    bool WaitListening(int ms);
    // The number of running processes of the server copy.
    int CountServers();
    // Environment of servers started afterwards.
    void SetStopMode(const char* mode);
    // True when the servers run under the sanitizers.
    bool UnderSanitizers() const { return !m_sanitizerLog.empty(); }
    // Resident memory and open descriptors of a process, from the system's own report.
    static long ResidentKiB(unsigned long pid);
    static int OpenDescriptors(unsigned long pid);

    kxTestTempDir m_dir;
    wxString m_server;
    wxString m_port;
    wxString m_sanitizerLog;
};

#endif
