// A server host for the channel tests. It listens on the port named by KX_TEST_PORT and answers
// a few commands meant to exercise the server: echoing, failing in each way a handler can,
// blocking, keeping an argument, and reporting what it saw. KX_TEST_STOP says how it takes a
// stop request: "accept" (the default: agree and end), "veto" (refuse) or "ignore" (no
// subscriber at all).
#include "kxRuzoVori/kxRuzoVori.h"

#include <wx/app.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <sys/prctl.h>
#include <unistd.h>

namespace
{
// Answers the server's stop event as KX_TEST_STOP says.
class StopHandler : public kxEventHandler
{
public:
    bool OnStop(kxEventable&, kxParams&)
    {
        if (m_veto)
            return false;
        // The reply still has to go out: end on the next pass of the loop.
        wxAppConsole* app = wxAppConsole::GetInstance();
        app->CallAfter([app] { app->ExitMainLoop(); });
        return true;
    }

    bool m_veto = false;
};

class TestServer : public kxServer
{
public:
    int m_connects = 0;
    int m_disconnects = 0;
    wxString m_kept;

protected:
    void ProtectedOnConnect() override { ++m_connects; }
    void ProtectedOnDisconnect() override { ++m_disconnects; }

    wxString ProtectedOnCommand(wxString& command, wxString& argument) override
    {
        if (command == wxS("echo"))
            return argument;
        if (command == wxS("length"))
            return wxString::Format(wxS("%zu"), argument.length());
        if (command == wxS("log"))
        {
            wxLogError(wxS("handler failed"));
            wxLogWarning(wxS("only a warning"));
            return wxS("not this text");
        }
        if (command == wxS("throw"))
            throw kxException(wxS("thrown by the handler"), wxS("test"));
        if (command == wxS("throw-other"))
            throw std::runtime_error("not a library exception");
        if (command == wxS("sleep"))
        {
            wxMilliSleep(wxAtoi(argument));
            return wxS("slept");
        }
        if (command == wxS("yield"))
        {
            // Lets the loop run, so the client's going away is seen during the command.
            for (int i = 0; i < wxAtoi(argument) / 10; ++i)
            {
                wxAppConsole::GetInstance()->Yield(true);
                wxMilliSleep(10);
            }
            return wxS("yielded");
        }
        if (command == wxS("drop"))
        {
            Disconnect();
            return wxS("dropped");
        }
        if (command == wxS("keep"))
        {
            m_kept = argument;
            return wxS("kept");
        }
        if (command == wxS("kept"))
        {
            // The codes of the kept characters, so that a zero among them shows as well.
            wxString codes;
            for (const wxUniChar c : m_kept)
                codes += wxString::Format(codes.empty() ? wxS("%X") : wxS(" %X"), c.GetValue());
            return codes;
        }
        if (command == wxS("counts"))
            return wxString::Format(wxS("connects=%d disconnects=%d connected=%d"), m_connects,
                                    m_disconnects, IsConnected() ? 1 : 0);
        return wxS("unknown command ") + command;
    }
};

class TestServerApp : public wxAppConsole
{
public:
    bool OnInit() override
    {
        // A test that dies must not leave its server behind.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() == 1)
            return false;
        const char* port = getenv("KX_TEST_PORT");
        const char* stop = getenv("KX_TEST_STOP");
        const wxString mode = stop ? wxString::FromUTF8(stop) : wxString(wxS("accept"));
        m_server = new TestServer();
        m_stopHandler.m_veto = mode == wxS("veto");
        if (mode != wxS("ignore"))
            m_server->AddHandler(kxServer::EVENT_STOP,
                                 static_cast<kxEventMethod>(&StopHandler::OnStop), &m_stopHandler);
        try
        {
            m_server->Start(port ? wxString::FromUTF8(port) : wxString());
        }
        catch (const kxException& e)
        {
            fprintf(stderr, "kxTestServer: %s\n", e.GetMsg().utf8_str().data());
            return false;
        }
        return true;
    }

    int OnExit() override
    {
        delete m_server;
        return 0;
    }

private:
    TestServer* m_server = nullptr;
    StopHandler m_stopHandler;
};
} // namespace

wxIMPLEMENT_APP_CONSOLE(TestServerApp);
