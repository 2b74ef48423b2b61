// Picture of the hyperlink in its three looks: not yet visited, with the mouse over it, and
// visited (hyperlink.png).
#include "support/kxScreenshot.h"

#include <kxRuzoVori/kxRuzoVori.h>

#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/uiaction.h>

namespace
{
bool Shoot(const wxString& folder)
{
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("Hyperlink"), wxPoint(40, 40));
    auto* panel = new wxPanel(frame);
    auto* grid = new wxFlexGridSizer(2, wxSize(16, 12));
    kxRuzoVori::wxHyperlinkCtrl* links[3] = {};
    const wxString captions[3] = {wxS("Not visited yet:"), wxS("With the mouse over it:"),
                                  wxS("Visited:")};
    for (int i = 0; i < 3; ++i)
    {
        links[i] = new kxRuzoVori::wxHyperlinkCtrl(panel, wxID_ANY, wxS("Project home page"),
                                                   wxDefaultPosition, wxDefaultSize, 0,
                                                   wxS("hyperlink"), wxS("https://example.org/"));
        // The rollover colour differs from the link's own here, so the mouse shows.
        links[i]->SetColours(wxColour(wxS("BLUE")), wxColour(wxS("VIOLET")), wxColour(200, 30, 30));
        links[i]->EnableRollover(true);
        grid->Add(new wxStaticText(panel, wxID_ANY, captions[i]), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(links[i], 0, wxALIGN_CENTER_VERTICAL);
    }
    links[2]->SetVisited(true);
    for (auto* link : links)
        link->UpdateLink();
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(grid, 0, wxALL, 14);
    panel->SetSizer(sizer);
    frame->SetClientSize(sizer->ComputeFittingClientSize(frame));

    bool saved = false;
    if (kxShotShow(frame))
    {
        // The mouse enters the middle link as a user's would.
        wxUIActionSimulator mouse;
        const wxSize size = links[1]->GetSize();
        mouse.MouseMove(links[1]->ClientToScreen(wxPoint(size.x / 2, size.y / 2)));
        kxShotPump(300);
        saved = kxShotSave(frame, folder, wxS("hyperlink"));
    }
    frame->Destroy();
    kxShotPump(50);
    return saved;
}
} // namespace

int main(int argc, char** argv)
{
    return kxShotMain(argc, argv, Shoot);
}
