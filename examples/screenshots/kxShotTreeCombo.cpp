// Pictures of the tree combo, open, in each of its modes (tree-combo-check-down.png,
// tree-combo-check-up.png, tree-combo-single.png).
#include "support/kxScreenshot.h"

#include <kxRuzoVori/kxRuzoVori.h>

#include <wx/artprov.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/renderer.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace
{
// A check box as the theme draws it, on the background of a list.
wxBitmap CheckImage(wxWindow* window, int flags)
{
    wxBitmap image(16, 16);
    wxMemoryDC dc(image);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_LISTBOX)));
    dc.Clear();
    wxRendererNative::Get().DrawCheckBox(window, dc, wxRect(1, 1, 14, 14), flags);
    return image;
}

struct Places
{
    wxTreeItemId m_asia, m_seoul, m_tokyo, m_europe, m_berlin, m_paris, m_rome;
};

Places AddPlaces(kxTreeComboCheckBox* combo)
{
    Places places;
    places.m_europe = combo->AppendItem(combo->GetRoot(), wxS("Europe"), nullptr, true);
    places.m_rome = combo->AppendItem(places.m_europe, wxS("Rome"), nullptr, true);
    places.m_paris = combo->AppendItem(places.m_europe, wxS("Paris"), nullptr, true);
    places.m_berlin = combo->AppendItem(places.m_europe, wxS("Berlin"), nullptr, true);
    places.m_asia = combo->AppendItem(combo->GetRoot(), wxS("Asia"), nullptr, true);
    places.m_tokyo = combo->AppendItem(places.m_asia, wxS("Tokyo"), nullptr, true);
    places.m_seoul = combo->AppendItem(places.m_asia, wxS("Seoul"), nullptr, true);
    return places;
}

// Checks as a click does: one step of the item's cycle.
void Step(kxTreeComboCheckBox* combo, const wxTreeItemId& item, int times = 1)
{
    for (int i = 0; i < times; ++i)
        combo->CheckItem(item);
}

// A frame with a caption over a tree combo of places, checked by choose, saved open as name.png.
bool ShootMode(const wxString& folder, const wxString& name, int mode, const wxString& caption,
               void (*choose)(kxTreeComboCheckBox*, const Places&))
{
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("Tree combo"), wxPoint(40, 40));
    auto* panel = new wxPanel(frame);
    const wxBitmap icon = wxArtProvider::GetBitmap(wxART_FOLDER, wxART_MENU, wxSize(16, 16));
    auto* combo =
        new kxTreeComboCheckBox(mode, icon, CheckImage(panel, wxCONTROL_CHECKED),
                                CheckImage(panel, 0), CheckImage(panel, wxCONTROL_UNDETERMINED),
                                panel, wxID_ANY, wxDefaultPosition, wxSize(300, -1), wxCB_READONLY);
    choose(combo, AddPlaces(combo));

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
        // The field takes the chosen text when the drop-down closes, as after a user's clicks.
        combo->Popup();
        kxShotPump(200);
        combo->Dismiss();
        kxShotPump(200);
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
                  wxS("Checking a region checks its cities; grayed, it is checked alone"),
                  [](kxTreeComboCheckBox* combo, const Places& places)
                  {
                      Step(combo, places.m_asia);      // grayed: Asia alone
                      Step(combo, places.m_tokyo);     // checked
                      Step(combo, places.m_europe, 2); // grayed, then checked with all its cities
                  });
    const bool up = ShootMode(folder, wxS("tree-combo-check-up"), kxTreeComboPopup::MODE_CHECK_UP,
                              wxS("Each region follows its cities: checked, grayed, unchecked"),
                              [](kxTreeComboCheckBox* combo, const Places& places)
                              {
                                  for (const wxTreeItemId& city : {places.m_seoul, places.m_tokyo,
                                                                   places.m_berlin, places.m_paris})
                                      Step(combo, city, 2); // grayed, then checked
                              });
    const bool single = ShootMode(folder, wxS("tree-combo-single"), kxTreeComboPopup::MODE_SINGLE,
                                  wxS("One place is chosen; the field shows its path"),
                                  [](kxTreeComboCheckBox* combo, const Places& places)
                                  { Step(combo, places.m_tokyo); });
    return down && up && single;
}
} // namespace

int main(int argc, char** argv)
{
    return kxShotMain(argc, argv, Shoot);
}
