#include "kxIpcTestSupport.h"

#include "kxRuzoVori/ipc/kxServer.h"

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
