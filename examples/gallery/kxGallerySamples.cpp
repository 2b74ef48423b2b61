// The images and sample data the gallery and the picture programs share.
#include "kxGallerySamples.h"

#include <kxRuzoVori/kxRuzoVori.h>

#include <wx/artprov.h>
#include <wx/dcmemory.h>
#include <wx/renderer.h>
#include <wx/settings.h>

wxBitmap kxGalleryCheckImage(wxWindow* window, int flags)
{
    wxBitmap image(16, 16);
    wxMemoryDC dc(image);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_LISTBOX)));
    dc.Clear();
    wxRendererNative::Get().DrawCheckBox(window, dc, wxRect(1, 1, 14, 14), flags);
    return image;
}

std::vector<wxBitmap> kxGalleryToolImages(const wxString& art)
{
    std::vector<wxBitmap> set;
    for (int pixels : {16, 32, 48})
        set.push_back(wxArtProvider::GetBitmap(art, wxART_TOOLBAR, wxSize(pixels, pixels)));
    return set;
}

kxTreeComboCheckBox* kxGalleryNewPlacesCombo(int mode, wxWindow* parent, const wxSize& size)
{
    return new kxTreeComboCheckBox(
        mode, wxArtProvider::GetBitmap(wxART_FOLDER, wxART_MENU, wxSize(16, 16)),
        kxGalleryCheckImage(parent, wxCONTROL_CHECKED), kxGalleryCheckImage(parent, 0),
        kxGalleryCheckImage(parent, wxCONTROL_UNDETERMINED), parent, wxID_ANY, wxDefaultPosition,
        size, wxCB_READONLY);
}

kxGalleryPlaces kxGalleryAddPlaces(kxTreeComboCheckBox* combo)
{
    // Appended out of order: the combo sorts them.
    kxGalleryPlaces places;
    places.m_europe = combo->AppendItem(combo->GetRoot(), wxS("Europe"), nullptr, true);
    places.m_rome = combo->AppendItem(places.m_europe, wxS("Rome"), nullptr, true);
    places.m_paris = combo->AppendItem(places.m_europe, wxS("Paris"), nullptr, true);
    places.m_berlin = combo->AppendItem(places.m_europe, wxS("Berlin"), nullptr, true);
    places.m_asia = combo->AppendItem(combo->GetRoot(), wxS("Asia"), nullptr, true);
    places.m_tokyo = combo->AppendItem(places.m_asia, wxS("Tokyo"), nullptr, true);
    places.m_seoul = combo->AppendItem(places.m_asia, wxS("Seoul"), nullptr, true);
    return places;
}

void kxGalleryCheckPlaces(kxTreeComboCheckBox* combo, const kxGalleryPlaces& places)
{
    // Each call is one step of the item's click cycle.
    const auto step = [combo](const wxTreeItemId& item, int times)
    {
        for (int i = 0; i < times; ++i)
            combo->CheckItem(item);
    };
    switch (combo->GetTreeCtrl()->GetMode())
    {
    case kxTreeComboPopup::MODE_CHECK_DOWN:
        step(places.m_asia, 1);   // grayed: Asia alone
        step(places.m_tokyo, 1);  // checked
        step(places.m_europe, 2); // grayed, then checked with all its cities
        break;
    case kxTreeComboPopup::MODE_CHECK_UP:
        // Grayed, then checked: Asia follows with both its cities, Europe grays without Rome.
        for (const wxTreeItemId& city :
             {places.m_seoul, places.m_tokyo, places.m_berlin, places.m_paris})
            step(city, 2);
        break;
    default:
        step(places.m_tokyo, 1);
        break;
    }
    combo->SetValue(combo->GetValue());
}

wxBitmap kxGallerySplashPicture(const wxSize& size)
{
    wxBitmap picture(size);
    wxMemoryDC dc(picture);
    dc.GradientFillLinear(wxRect(size), wxColour(252, 252, 255), wxColour(214, 226, 242), wxSOUTH);
    dc.GradientFillLinear(wxRect(0, size.y / 2 - 40, size.x, 80), wxColour(236, 242, 250),
                          wxColour(196, 212, 236), wxEAST);
    return picture;
}
