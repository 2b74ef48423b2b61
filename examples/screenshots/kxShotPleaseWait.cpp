// Picture of the please-wait dialog with its Cancel button (please-wait.png).
#include "support/kxScreenshot.h"

#include <kxRuzoVori/kxRuzoVori.h>

namespace
{
bool Shoot(const wxString& folder)
{
    wxPleaseWaitDlg wait(wxS("Please wait"), wxS("Reading the archive: photos/2026/beach-14.jpg"),
                         nullptr,
                         wxPleaseWaitDlg::STYLE_APP_MODAL | wxPleaseWaitDlg::STYLE_CAN_CANCEL |
                             wxPleaseWaitDlg::STYLE_SHOW_AT_ONCE,
                         wxSize(340, -1));
    const bool saved = kxShotShow(&wait) && wait.Update(wxString()) &&
                       kxShotSave(&wait, folder, wxS("please-wait"));
    wait.Completed();
    return saved;
}
} // namespace

int main(int argc, char** argv)
{
    return kxShotMain(argc, argv, Shoot);
}
