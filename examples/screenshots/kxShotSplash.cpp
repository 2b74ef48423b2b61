// Picture of the splash screen with its five labels (splash.png).
#include "kxGallerySamples.h"
#include "support/kxScreenshot.h"

#include <kxRuzoVori/kxRuzoVori.h>

#include <wx/dcmemory.h>

namespace
{
bool Shoot(const wxString& folder)
{
    wxBitmap picture = kxGallerySplashPicture(wxSize(420, 260));
    SSplashLabel title(wxS("Photo Archive"));
    SSplashLabel author(wxS("Ada Lovelace King"));
    SSplashLabel version(wxS("Version 2.1"));
    SSplashLabel copyright(wxS("(c) 2026 Example Ltd"));
    // The secondary title has no place of its own: it goes under the title, centred.
    const wxFont smaller(wxFontInfo(10).Bold().FaceName(wxS("Verdana")));
    wxMemoryDC measure(picture);
    measure.SetFont(smaller);
    const wxSize beta = measure.GetTextExtent(wxS("Beta release"));
    measure.SelectObject(wxNullBitmap);
    SSplashLabel secondary(wxS("Beta release"), (picture.GetWidth() - beta.x) / 2,
                           picture.GetHeight() / 2 + 16, smaller);
    kxSplashScreen* splash =
        kxSplashScreen::Create(false, picture, title, author, version, copyright, secondary, 60000);
    const bool saved = kxShotShow(splash) && kxShotSave(splash, folder, wxS("splash"));
    splash->Close(true);
    kxShotPump(50);
    return saved;
}
} // namespace

int main(int argc, char** argv)
{
    return kxShotMain(argc, argv, Shoot);
}
