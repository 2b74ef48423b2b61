// The crash report dialog's picture and its answers to buttons and keys.
#include "kxRuzoVori/crash/kxCrashReportDlg.h"

wxBEGIN_EVENT_TABLE(kxCrashReportDlg, guiCrashReportDlg) EVT_CHAR_HOOK(kxCrashReportDlg::OnCharHook)
    EVT_CLOSE(kxCrashReportDlg::OnClose)
        EVT_BUTTON(guiCrashReportDlg::ID_BUTTON_SEND, kxCrashReportDlg::OnButtonSend)
            EVT_BUTTON(guiCrashReportDlg::ID_BUTTON_DONT_SEND, kxCrashReportDlg::OnButtonDontSend)
                wxEND_EVENT_TABLE()

                    kxCrashReportDlg::kxCrashReportDlg(wxWindow* parent, const wxBitmap& picture)
    : guiCrashReportDlg(parent)
{
    if (picture.IsOk())
        WxStaticBitmap1->SetBitmap(picture);
}

void kxCrashReportDlg::OnCharHook(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_ESCAPE)
        PrivateEnd(1);
    event.Skip();
}

void kxCrashReportDlg::OnClose(wxCloseEvent&)
{
    PrivateEnd(1);
}

void kxCrashReportDlg::OnButtonSend(wxCommandEvent&)
{
    PrivateEnd(0);
}

void kxCrashReportDlg::OnButtonDontSend(wxCommandEvent&)
{
    PrivateEnd(1);
}

// The first answer counts: the toolkit's own handling of a key passed on may try to end the
// dialog a second time. A dialog shown without a modal loop is hidden with its answer.
void kxCrashReportDlg::PrivateEnd(int answer)
{
    if (IsModal())
        EndModal(answer);
    else if (IsShown())
    {
        SetReturnCode(answer);
        Hide();
    }
}
