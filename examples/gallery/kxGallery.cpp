// The gallery: every control of the library, each on its own page, on the user's display.
#include "kxGalleryFrame.h"

#include <wx/app.h>
#include <wx/image.h>

class kxGalleryApp : public wxApp
{
public:
    bool OnInit() override
    {
        if (!wxApp::OnInit())
            return false;
        wxInitAllImageHandlers();
        (new kxGalleryFrame)->Show();
        return true;
    }
};

wxIMPLEMENT_APP(kxGalleryApp);
