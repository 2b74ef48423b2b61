// The command server in this process and in a child process served by plain toolkit clients.
#include "kxIpcTestSupport.h"

#include "kxRuzoVori/ipc/kxServer.h"

#include <wx/sckipc.h>

#include <memory>

namespace
{
class QuietServer : public kxServer
{
protected:
    wxString ProtectedOnCommand(wxString& command, wxString&) override { return command; }
};

wxString StartFailure(kxServer& server, const wxString& port)
{
    try
    {
        server.Start(port);
    }
    catch (const kxException& e)
    {
        EXPECT_EQ(wxString(wxS("kxRuzoVori exception")), e.GetClass());
        return e.GetMsg();
    }
    return wxString();
}
} // namespace

TEST(Server, StartOnceOnAFreePort)
{
    QuietServer server;
    EXPECT_FALSE(server.IsConnected());
    EXPECT_EQ(wxString(wxS("Internal error in method kxServer::Start(). Empty server port.")),
              StartFailure(server, wxString()));

    const wxString port = kxTestFreePort();
    EXPECT_EQ(wxString(), StartFailure(server, port));
    // Started already: another port is not even looked at.
    EXPECT_EQ(wxString(), StartFailure(server, wxS("not a port")));
    kxTestRawPeer peer;
    EXPECT_TRUE(peer.Connect(port));

    QuietServer rival;
    EXPECT_EQ(wxString(wxS("Can not start server")), StartFailure(rival, port));
    EXPECT_FALSE(rival.IsConnected());
    // After a failed start it may try again elsewhere.
    EXPECT_EQ(wxString(), StartFailure(rival, kxTestFreePort()));
    server.Disconnect();

    // Only a TCP port someone can name: no port of the system's choice, no socket file.
    for (const char* odd : {"0", "65536", "no-such-service", "/tmp/kx-no-socket"})
    {
        QuietServer nowhere;
        EXPECT_EQ(wxString(wxS("Can not start server")), StartFailure(nowhere, odd)) << odd;
    }
}

TEST(Server, StopEventAndBuiltInsWithoutAClient)
{
    QuietServer server;
    wxString stop = wxS("cmd_stop");
    wxString none;
    EXPECT_EQ(wxString(wxS("OK")), server.PrivateOnCommand(stop, none));
    wxString other = wxS("anything");
    EXPECT_EQ(wxString(wxS("anything")), server.PrivateOnCommand(other, none));
    wxString identify = wxS("cmd_identify");
    const wxString proof = server.PrivateOnCommand(identify, none);
    EXPECT_EQ(32U, proof.length());
    EXPECT_EQ(proof, server.PrivateOnCommand(identify, none));
}

namespace
{
class ServerProcessTest : public kxServerProcessTest
{
};
} // namespace

TEST_F(ServerProcessTest, PlainToolkitClientsAreServed)
{
    StartServer();
    wxTCPClient toolkit;
    std::unique_ptr<wxConnectionBase> connection(
        toolkit.MakeConnection(wxS("localhost"), m_port, wxS("kxTopic")));
    ASSERT_TRUE(connection);
    // Text replies come back as UTF-8 with their terminating zero, whatever format was asked.
    size_t size = 0;
    const char* reply =
        static_cast<const char*>(connection->Request(wxS("0echo\nplain"), &size, wxIPC_TEXT));
    ASSERT_TRUE(reply);
    EXPECT_EQ(std::string("plain", 6), std::string(reply, size));
    for (const char* piece : {"1echo\nab", "2cd"})
    {
        reply = static_cast<const char*>(connection->Request(wxString::FromUTF8(piece)));
        ASSERT_TRUE(reply);
        EXPECT_STREQ("OK", reply);
    }
    reply = static_cast<const char*>(connection->Request(wxS("3\u00e9f"), &size, wxIPC_UTF8TEXT));
    ASSERT_TRUE(reply);
    EXPECT_EQ(wxString(wxS("abcd\u00e9f")), wxString::FromUTF8(reply));
    // What the server does not offer is refused, and it goes on serving.
    EXPECT_FALSE(connection->StartAdvise(wxS("anything")));
    EXPECT_TRUE(connection->Execute(wxS("ignored")));
    reply = static_cast<const char*>(connection->Request(wxS("0echo\nstill")));
    ASSERT_TRUE(reply);
    EXPECT_STREQ("still", reply);
    // A poke hands its data to the handler whatever the format: bytes that are not text arrive
    // one character each, zeros included.
    const char bytes[] = {'\0', 'a', '\xC0', '\xFF', '\n', '\0'};
    EXPECT_TRUE(connection->Poke(wxS("keep"), bytes, sizeof bytes, wxIPC_PRIVATE));
    reply = static_cast<const char*>(connection->Request(wxS("0kept\n")));
    ASSERT_TRUE(reply);
    EXPECT_STREQ("0 61 C0 FF A 0", reply);
    // A poke of the stop command ends the server.
    EXPECT_TRUE(connection->Poke(wxS("cmd_stop"), wxString()));
    EXPECT_TRUE(kxTestWaitFor([this] { return CountServers() == 0; }, 10000));
}
