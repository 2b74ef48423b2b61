// Pictures of the gallery, one for each of its pages (gallery-<page>.png).
#include "kxGalleryFrame.h"
#include "support/kxScreenshot.h"

namespace
{
bool Shoot(const wxString& folder)
{
    auto* gallery = new kxGalleryFrame;
    gallery->SetPosition(wxPoint(20, 20));
    bool saved = kxShotShow(gallery);
    for (size_t page = 0; saved && page < gallery->GetPageCount(); ++page)
    {
        gallery->ShowPage(page);
        // As tall as the page needs, and taller only while the list would scroll.
        for (int extra = 0; extra < 400; extra += 8)
        {
            gallery->FitToPage(extra);
            kxShotPump(100);
            if (gallery->ListShowsAll())
                break;
        }
        kxShotPump(100);
        saved = kxShotSave(gallery, folder, wxS("gallery-") + gallery->GetPageName(page));
    }
    gallery->Destroy();
    kxShotPump(50);
    return saved;
}
} // namespace

int main(int argc, char** argv)
{
    return kxShotMain(argc, argv, Shoot);
}
