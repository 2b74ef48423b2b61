// The gallery's pages, one for each of the library's controls. Each page owns what it shows.
#ifndef KXEXAMPLES_KXGALLERYPAGES_H
#define KXEXAMPLES_KXGALLERYPAGES_H

#include <wx/defs.h>

class WXDLLIMPEXP_FWD_CORE wxWindow;

wxWindow* kxGalleryNewSettingsPage(wxWindow* parent);
wxWindow* kxGalleryNewToolbarPage(wxWindow* parent);
wxWindow* kxGalleryNewTreeComboPage(wxWindow* parent);
wxWindow* kxGalleryNewHyperlinkPage(wxWindow* parent);
wxWindow* kxGalleryNewPleaseWaitPage(wxWindow* parent);
wxWindow* kxGalleryNewSplashPage(wxWindow* parent);
wxWindow* kxGalleryNewTrayPage(wxWindow* parent);
wxWindow* kxGalleryNewHttpDialogsPage(wxWindow* parent);
wxWindow* kxGalleryNewCrashPage(wxWindow* parent);

#endif
