#include "kxIpcTestSupport.h"

#include "kxRuzoVori/ipc/kxClient.h"

#include <wx/ffile.h>
#include <wx/utils.h>

#include <random>

namespace
{
// Resident memory of a process in KiB, from the system's own report.
long ResidentKiB(unsigned long pid)
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

class HostilePeerTest : public kxServerProcessTest
{
protected:
    // A legitimate client still gets served, and the server stops when asked.
    void ExpectServedAndStop()
    {
        kxClient client(m_server, false, wxS("localhost"), m_port);
        client.Connect();
        bool success = false;
        EXPECT_EQ(wxString(wxS("still serving")),
                  client.Command(wxS("echo"), wxS("still serving"), success));
        EXPECT_TRUE(success);
        EXPECT_TRUE(client.StopServer(20000));
        EXPECT_EQ(0, CountServers());
    }
};
} // namespace

TEST_F(HostilePeerTest, RawPeersSpeakingTheFramingAreServed)
{
    StartServer();
    kxTestRawPeer peer;
    ASSERT_TRUE(peer.Connect(m_port));
    ASSERT_TRUE(peer.Greet("kxTopic"));
    std::string reply;
    ASSERT_TRUE(peer.Request("0echo\n\xC3\xBC\xF0\x9F\x98\x80", reply, 10000));
    EXPECT_EQ("\xC3\xBC\xF0\x9F\x98\x80", reply);
    ASSERT_TRUE(peer.Request("1echo\nfirst", reply, 10000));
    EXPECT_EQ("OK", reply);
    ASSERT_TRUE(peer.Request("2 middle", reply, 10000));
    EXPECT_EQ("OK", reply);
    ASSERT_TRUE(peer.Request("3 last", reply, 10000));
    EXPECT_EQ("first middle last", reply);
    // An item without a command, and an empty item.
    ASSERT_TRUE(peer.Request("0\n", reply, 10000));
    EXPECT_EQ("err:Error in kxServerBaseConnection::OnRequest(). Empty command", reply);
    ASSERT_TRUE(peer.Request("", reply, 10000));
    EXPECT_EQ("OK", reply);
    peer.Close();

    kxTestRawPeer stranger;
    ASSERT_TRUE(stranger.Connect(m_port));
    EXPECT_FALSE(stranger.Greet("kxtopic"));

    // A poke, as the toolkit frames it (item, format, data), stops the server.
    kxTestRawPeer poker;
    ASSERT_TRUE(poker.Connect(m_port));
    ASSERT_TRUE(poker.Greet("kxTopic"));
    ASSERT_TRUE(poker.Send(std::string(1, KX_IPC_POKE) + kxTestIpcText("cmd_stop") +
                           std::string(1, KX_IPC_UTF8TEXT) + kxTestIpcText(std::string(1, '\0'))));
    EXPECT_TRUE(kxTestWaitFor([this] { return CountServers() == 0; }, 10000));
}

TEST_F(HostilePeerTest, GarbageAndTruncatedPackets)
{
    StartServer();
    std::mt19937 random(7);
    for (int round = 0; round < 30; ++round)
    {
        kxTestRawPeer peer;
        ASSERT_TRUE(peer.Connect(m_port));
        std::string garbage(64 + random() % 4000, '\0');
        for (char& c : garbage)
            c = static_cast<char>(random());
        // Half of them get past the greeting first.
        if (round % 2 == 1)
        {
            ASSERT_TRUE(peer.Greet("kxTopic"));
        }
        peer.Send(garbage);
    }

    // Packets that announce more than they bring. The toolkit reads a greeting before any
    // connection exists, with its own time-out, so that peer has to leave to free the server;
    // a connection's packets are bounded by the server's short time-out and may stay open.
    {
        kxTestRawPeer shortGreeting;
        ASSERT_TRUE(shortGreeting.Connect(m_port));
        shortGreeting.Send(std::string(1, KX_IPC_CONNECT) + std::string("\x64\0\0\0kxT", 7));
        wxMilliSleep(200);
    }
    kxTestRawPeer shortRequest;
    ASSERT_TRUE(shortRequest.Connect(m_port));
    ASSERT_TRUE(shortRequest.Greet("kxTopic"));
    shortRequest.Send(std::string(1, KX_IPC_REQUEST) + std::string("\xE8\x03\0\0"
                                                                   "0echo\nab",
                                                                   12));
    kxTestRawPeer hugeRequest;
    ASSERT_TRUE(hugeRequest.Connect(m_port));
    ASSERT_TRUE(hugeRequest.Greet("kxTopic"));
    hugeRequest.Send(std::string(1, KX_IPC_POKE) + std::string("\xF0\xFF\xFF\x03"
                                                               "cmd_stop",
                                                               12));

    ExpectServedAndStop();
}

TEST_F(HostilePeerTest, PeerVanishingInTheMiddleOfALongRequest)
{
    StartServer();
    for (int round = 0; round < 5; ++round)
    {
        kxTestRawPeer peer;
        ASSERT_TRUE(peer.Connect(m_port));
        ASSERT_TRUE(peer.Greet("kxTopic"));
        std::string reply;
        ASSERT_TRUE(peer.Request("1echo\n" + std::string(4090, 'a'), reply, 10000));
        ASSERT_EQ("OK", reply);
        const std::string next = kxTestIpcRequest("2" + std::string(4096, 'b'));
        peer.Send(next.substr(0, next.size() / 2));
        peer.Close();
    }
    // And a client that goes while its command runs.
    kxTestRawPeer sleeper;
    ASSERT_TRUE(sleeper.Connect(m_port));
    ASSERT_TRUE(sleeper.Greet("kxTopic"));
    sleeper.Send(kxTestIpcRequest("0yield\n500"));
    sleeper.Close();
    {
        // Each peer was a client in its turn, and each that left as the current client was
        // seen leaving (the last one may have been replaced first).
        kxClient client(m_server, false, wxS("localhost"), m_port);
        client.Connect();
        bool success = false;
        const wxString counts = client.Command(wxS("counts"), success);
        EXPECT_TRUE(counts.StartsWith(wxS("connects=7 disconnects=5")) ||
                    counts.StartsWith(wxS("connects=7 disconnects=6")))
            << counts.utf8_string();
        EXPECT_TRUE(counts.EndsWith(wxS("connected=1")));
    }
    ExpectServedAndStop();
}

TEST_F(HostilePeerTest, ThousandConnectDisconnectCycles)
{
    const unsigned long pid = StartServer();
    const long before = ResidentKiB(pid);
    for (int round = 0; round < 1000; ++round)
    {
        kxTestRawPeer peer;
        ASSERT_TRUE(peer.Connect(m_port)) << round;
        if (round % 2 == 0)
            peer.Greet("kxTopic");
    }
    {
        kxClient client(m_server, false, wxS("localhost"), m_port);
        client.Connect();
        bool success = false;
        EXPECT_EQ(wxString(wxS("alive")), client.Command(wxS("echo"), wxS("alive"), success));
    }
    const long after = ResidentKiB(pid);
    RecordProperty("server_rss_before_kib", static_cast<int>(before));
    RecordProperty("server_rss_after_kib", static_cast<int>(after));
    printf("server resident memory: %ld KiB before, %ld KiB after 1000 cycles\n", before, after);
    EXPECT_LT(after - before, 16 * 1024);
    ExpectServedAndStop();
}
