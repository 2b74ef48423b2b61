// Images and sample data the gallery and the picture programs share, so that both show the same
// things on every desktop theme.
#ifndef KXEXAMPLES_KXGALLERYSAMPLES_H
#define KXEXAMPLES_KXGALLERYSAMPLES_H

#include <wx/bitmap.h>
#include <wx/treebase.h>

#include <vector>

class WXDLLIMPEXP_FWD_CORE wxWindow;
class kxTreeComboCheckBox;

// A 16 x 16 check box as the theme draws it for window (flags: wxCONTROL_CHECKED,
// wxCONTROL_UNDETERMINED or 0), on the background of a list.
wxBitmap kxGalleryCheckImage(wxWindow* window, int flags);

// The theme's image of a toolbar tool in the toolbar's three sizes: 16, 32 and 48 pixels.
std::vector<wxBitmap> kxGalleryToolImages(const wxString& art);

// A tree combo of places with the theme's folder icon and check boxes, in one of its modes.
kxTreeComboCheckBox* kxGalleryNewPlacesCombo(int mode, wxWindow* parent, const wxSize& size);

// The places a combo made by kxGalleryNewPlacesCombo holds, regions first, each region's cities
// in natural order.
struct kxGalleryPlaces
{
    wxTreeItemId m_asia, m_seoul, m_tokyo, m_europe, m_berlin, m_paris, m_rome;
};
kxGalleryPlaces kxGalleryAddPlaces(kxTreeComboCheckBox* combo);
// Checks some of the places as clicks would, so that the combo shows what its mode does, and
// shows the text in the field, as the closing of its drop-down does.
void kxGalleryCheckPlaces(kxTreeComboCheckBox* combo, const kxGalleryPlaces& places);

// A quiet picture for a splash screen to write on.
wxBitmap kxGallerySplashPicture(const wxSize& size);

#endif
