// The crash handler: its registration, the report procedure and its mail.
#include "kxRuzoVori/crash/kxHalt.h"

#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/core/private/kxLibraryException.h"
#include "kxRuzoVori/crash/kxCrashReportDlg.h"
#include "kxRuzoVori/crash/kxSendEmail.h"
#include "kxRuzoVori/platform/kxPlatformFault.h"

#include <wx/app.h>
#include <wx/textctrl.h>
#include <wx/thread.h>
#include <wx/timer.h>

namespace
{
// Set by the first kxHalt and never reset; the instance is cleared when it is destroyed.
bool s_created = false;
kxHalt* s_instance = nullptr;
// The stack of the report under way, as it goes into the mail.
wxString s_stack;

// While the report's event loop turns, it tells the watchdog so.
class Heartbeat : public wxTimer
{
public:
    Heartbeat() { Start(1000); }
    void Notify() override
    {
        kxPlatform::KeepFaultReportAlive(kxPlatform::GetFaultWatchdogBound());
    }
};

wxString DescribeStack(const kxPlatform::StackTrace& stack)
{
    wxString text;
    for (int i = 0; i < stack.m_count; ++i)
        text += wxString::Format(wxS("#%d "), i) +
                wxString::FromUTF8(kxPlatform::DescribeFrame(stack.m_frames[i])) + wxS("\n");
    return text;
}

wxString TextOf(wxDialog& dialog, int id)
{
    wxTextCtrl* field = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id));
    return field ? field->GetValue() : wxString();
}
} // namespace

// Runs the instance's report for a fault on the main thread.
class kxHaltReport
{
public:
    static bool OnFault(const kxPlatform::FaultInfo& fault)
    {
        kxHalt* halt = s_instance;
        wxAppConsole* app = wxAppConsole::GetInstance();
        if (!halt || !app)
            return false;
        s_stack = DescribeStack(fault.m_stack);
        Heartbeat heartbeat;
        return halt->ProtectedOnUnhandledException(kxPlatform::GetModuleOffset(fault.m_address),
                                                   fault.m_code);
    }
};

kxHalt::kxHalt(wxBitmap picture, wxString to, wxString from, wxString host, wxString user,
               wxString password, int port)
    : kxHalt(picture, to, from, host, user, password, port, mail::Options())
{
}

kxHalt::kxHalt(wxBitmap picture, wxString to, wxString from, wxString host, wxString user,
               wxString password, int port, const mail::Options& options)
    : m_picture(picture), m_to(to), m_from(from), m_host(host), m_user(user), m_password(password),
      m_port(port), m_options(options)
{
    if (s_created)
        throw kxLibraryException(
            kxTranslate(wxS("You can not create kxHalt class more then one time")));
    s_created = true;
    s_instance = this;
    kxPlatform::InstallFaultHandler(&kxHaltReport::OnFault);
}

kxHalt::~kxHalt()
{
    // A fault after this still ends the process by its signal, without a report.
    if (s_instance == this)
        s_instance = nullptr;
}

void kxHalt::SetHandler()
{
    if (s_created && s_instance)
        kxPlatform::InstallFaultHandler(&kxHaltReport::OnFault);
}

void kxHalt::ShowHaltDlg()
{
    kxPlatform::StackTrace stack;
    kxPlatform::CaptureStack(stack, 0);
    s_stack = DescribeStack(stack);
    ProtectedOnUnhandledException(0, 0);
    s_stack.clear();
}

bool kxHalt::ProtectedOnUnhandledException(unsigned int address, unsigned int code)
{
    // The dialog needs the toolkit's windows, which only the main thread of a GUI program has.
    wxAppConsole* app = wxAppConsole::GetInstance();
    if (!app || !app->IsGUI() || !wxThread::IsMain())
        return false;
    kxCrashReportDlg* dialog =
        new kxCrashReportDlg(nullptr, m_picture.IsOk() ? m_picture : wxBitmap());
    if (dialog->ShowModal() == 0)
    {
        wxString body =
            wxString::Format(kxTranslate(wxS("Exception offset: 0x%X\nException code: 0x%X\n\n")),
                             address, code) +
            kxTranslate(wxS("User e-mail: ")) + TextOf(*dialog, guiCrashReportDlg::ID_EMAIL) +
            kxTranslate(wxS("\nUser note:")) + TextOf(*dialog, guiCrashReportDlg::ID_NOTE);
        if (!s_stack.empty())
            body += wxS("\n\n") + kxTranslate(wxS("Call stack:")) + wxS("\n") + s_stack;
        // The mail waits on the network at most 14 times, each wait bounded by its time-out.
        kxPlatform::KeepFaultReportAlive(14 * m_options.m_timeout +
                                         kxPlatform::GetFaultWatchdogBound());
        wxString error;
        kxSendEmail(kxTranslate(wxS("ZPR Crash report")), body, m_from, m_to, m_host, m_user,
                    m_password, error, m_port, m_options);
        kxPlatform::KeepFaultReportAlive(kxPlatform::GetFaultWatchdogBound());
    }
    dialog->Destroy();
    return false;
}
