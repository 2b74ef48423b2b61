// kxCrashHost: a host that installs the crash handler, so that a fault ends in a mailed report.
//
//   kxCrashHost TO HOST [PORT]
//
// The report goes to the address TO through the SMTP server HOST (port 25 unless PORT says
// otherwise), sent without logging in. "Test the report" shows the crash dialog on a healthy
// process and returns; "Crash now" dereferences a null pointer, and the process ends by its
// signal once the user has sent or dismissed the report.
#include "kxRuzoVori/crash/kxHalt.h"

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/crt.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <memory>

namespace
{
class CrashFrame : public wxFrame
{
public:
    explicit CrashFrame(kxHalt& halt)
        : wxFrame(nullptr, wxID_ANY, wxS("Crash handler")), m_halt(halt)
    {
        wxPanel* panel = new wxPanel(this);
        wxBoxSizer* column = new wxBoxSizer(wxVERTICAL);
        column->Add(new wxStaticText(panel, wxID_ANY,
                                     wxS("A fault anywhere in this program shows the report.")),
                    0, wxALL, 10);
        wxButton* test = new wxButton(panel, wxID_ANY, wxS("Test the report"));
        wxButton* crash = new wxButton(panel, wxID_ANY, wxS("Crash now"));
        column->Add(test, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 10);
        column->Add(crash, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 10);
        panel->SetSizerAndFit(column);
        Fit();
        test->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_halt.ShowHaltDlg(); });
        crash->Bind(wxEVT_BUTTON, [](wxCommandEvent&) { Crash(nullptr); });
    }

private:
    // A real fault, out of the compiler's sight, so that it is not optimised into something else.
    static void Crash(volatile int* nowhere) { *nowhere = 1; }

    kxHalt& m_halt;
};

class CrashHostApp : public wxApp
{
public:
    bool OnInit() override
    {
        if (argc < 3)
        {
            wxPrintf(wxS("usage: kxCrashHost TO HOST [PORT]\n"));
            return false;
        }
        long port = 25;
        if (argc > 3 && !argv[3].ToLong(&port))
            port = 25;
        // One crash handler per process, created before anything else can fault.
        m_halt = std::make_unique<kxHalt>(wxArtProvider::GetBitmap(wxART_ERROR, wxART_MESSAGE_BOX),
                                          argv[1], wxS("crash-report@localhost"), argv[2],
                                          wxString(), wxString(), static_cast<int>(port));
        (new CrashFrame(*m_halt))->Show();
        return true;
    }

private:
    std::unique_ptr<kxHalt> m_halt;
};
} // namespace

wxIMPLEMENT_APP(CrashHostApp);
