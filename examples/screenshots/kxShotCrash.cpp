// Picture of the crash report dialog as a user fills it in: crash-report.png.
#include "support/kxScreenshot.h"

#include <kxRuzoVori/kxRuzoVori.h>

#include <wx/artprov.h>
#include <wx/dcmemory.h>
#include <wx/textctrl.h>

namespace
{
// The host's picture: the desktop's error icon, or a drawn stand-in where the theme has none.
wxBitmap Picture()
{
    const wxBitmap icon = wxArtProvider::GetBitmap(wxART_ERROR, wxART_MESSAGE_BOX, wxSize(48, 48));
    if (icon.IsOk() && icon.GetSize() == wxSize(48, 48))
        return icon;
    wxBitmap drawn(48, 48);
    wxMemoryDC dc(drawn);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetBrush(*wxRED_BRUSH);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawCircle(24, 24, 22);
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.DrawRectangle(21, 10, 6, 18);
    dc.DrawRectangle(21, 32, 6, 6);
    dc.SelectObject(wxNullBitmap);
    return drawn;
}

bool Shoot(const wxString& folder)
{
    kxCrashReportDlg* dialog = new kxCrashReportDlg(nullptr, Picture());
    wxTextCtrl* email = wxDynamicCast(dialog->FindWindow(guiCrashReportDlg::ID_EMAIL), wxTextCtrl);
    email->ChangeValue(wxS("user@example.org"));
    wxDynamicCast(dialog->FindWindow(guiCrashReportDlg::ID_NOTE), wxTextCtrl)
        ->ChangeValue(wxS("It crashed while I saved the project."));
    bool saved = kxShotShow(dialog);
    // The field with the focus shows its text selected; a user who typed it sees a caret.
    email->SetInsertionPointEnd();
    saved = saved && kxShotSave(dialog, folder, wxS("crash-report"));
    dialog->Destroy();
    return saved;
}
} // namespace

int main(int argc, char** argv)
{
    return kxShotMain(argc, argv, Shoot);
}
