// Pictures of the tree combo, open, in each of its modes (tree-combo-check-down.png,
// tree-combo-check-up.png, tree-combo-single.png).
#include "kxGallerySamples.h"
#include "support/kxScreenshot.h"

#include <kxRuzoVori/kxRuzoVori.h>

#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace
{
// A frame with a caption over a tree combo of places, some checked, saved open as name.png.
bool ShootMode(const wxString& folder, const wxString& name, int mode, const wxString& caption)
{
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("Tree combo"), wxPoint(40, 40));
    auto* panel = new wxPanel(frame);
    auto* combo = kxGalleryNewPlacesCombo(mode, panel, wxSize(300, -1));
    kxGalleryCheckPlaces(combo, kxGalleryAddPlaces(combo));

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(panel, wxID_ANY, caption), 0, wxLEFT | wxRIGHT | wxTOP, 10);
    sizer->Add(combo, 0, wxEXPAND | wxALL, 10);
    panel->SetSizer(sizer);
    wxSize fitting = sizer->ComputeFittingClientSize(frame);
    fitting.IncTo(wxSize(400, -1));
    frame->SetClientSize(fitting);

    bool saved = false;
    if (kxShotShow(frame))
    {
        combo->Popup();
        kxShotPump(400);
        saved = combo->IsPopupShown() && kxShotSave({frame, combo->GetPopupWindow()}, folder, name);
        combo->Dismiss();
        kxShotPump(100);
    }
    frame->Destroy();
    kxShotPump(50);
    return saved;
}

bool Shoot(const wxString& folder)
{
    const bool down =
        ShootMode(folder, wxS("tree-combo-check-down"), kxTreeComboPopup::MODE_CHECK_DOWN,
                  wxS("Checking a region checks its cities; grayed, it is checked alone"));
    const bool up = ShootMode(folder, wxS("tree-combo-check-up"), kxTreeComboPopup::MODE_CHECK_UP,
                              wxS("Each region follows its cities: checked, grayed, unchecked"));
    const bool single = ShootMode(folder, wxS("tree-combo-single"), kxTreeComboPopup::MODE_SINGLE,
                                  wxS("One place is chosen; the field shows its path"));
    return down && up && single;
}
} // namespace

int main(int argc, char** argv)
{
    return kxShotMain(argc, argv, Shoot);
}
