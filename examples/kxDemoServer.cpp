// The demo's server host: a console program that serves a few commands on the port its client
// names in KX_DEMO_PORT, and ends when a client asks it to stop.
#include "kxRuzoVori/kxRuzoVori.h"

#include <wx/app.h>
#include <wx/log.h>
#include <wx/tokenzr.h>
#include <wx/utils.h>

#include <cstdio>

namespace
{
class DemoServer : public kxServer, public kxEventHandler
{
public:
    DemoServer() { AddHandler(EVENT_STOP, static_cast<kxEventMethod>(&DemoServer::OnStop), this); }

    bool OnStop(kxEventable&, kxParams&)
    {
        // The reply to the stop request goes out first; the loop ends on its next pass.
        wxAppConsole* app = wxAppConsole::GetInstance();
        app->CallAfter([app] { app->ExitMainLoop(); });
        return true;
    }

protected:
    wxString ProtectedOnCommand(wxString& command, wxString& argument) override
    {
        if (command == wxS("echo"))
            return argument;
        if (command == wxS("upper"))
            return argument.Upper();
        if (command == wxS("describe"))
        {
            // A small JSON report on the argument.
            wxJSONValue report;
            report[wxS("characters")] = static_cast<int>(argument.length());
            report[wxS("words")] =
                static_cast<int>(wxStringTokenize(argument, wxS(" \t"), wxTOKEN_STRTOK).size());
            report[wxS("ascii")] = argument.IsAscii();
            report[wxS("server")] = static_cast<unsigned long>(wxGetProcessId());
            wxString text;
            wxJSONWriter(wxJSONWRITER_NONE).Write(report, text);
            return text;
        }
        if (command == wxS("divide"))
        {
            long dividend = 0;
            long divisor = 0;
            const wxString left = argument.BeforeFirst(wxS('/'));
            const wxString right = argument.AfterFirst(wxS('/'));
            if (!left.ToLong(&dividend) || !right.ToLong(&divisor) || divisor == 0)
            {
                // Errors logged during a command become its "err:" reply.
                wxLogError(wxS("cannot divide \"%s\""), argument);
                return wxString();
            }
            return wxString::Format(wxS("%ld"), dividend / divisor);
        }
        throw kxException(wxS("unknown command \"") + command + wxS("\""), wxS("kxDemoServer"));
    }
};

class DemoServerApp : public wxAppConsole
{
public:
    bool OnInit() override
    {
        wxString port;
        wxGetEnv(wxS("KX_DEMO_PORT"), &port);
        m_server = new DemoServer();
        try
        {
            m_server->Start(port);
        }
        catch (const kxException& e)
        {
            fprintf(stderr, "kxDemoServer: %s\n", e.GetMsg().utf8_str().data());
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
    DemoServer* m_server = nullptr;
};
} // namespace

wxIMPLEMENT_APP_CONSOLE(DemoServerApp);
