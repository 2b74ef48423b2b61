#ifndef KXRUZOVORI_CRASH_KXCRASHREPORTDLG_H
#define KXRUZOVORI_CRASH_KXCRASHREPORTDLG_H

#include "kxRuzoVori/crash/guiCrashReportDlg.h"

#include <wx/bitmap.h>
#include <wx/event.h>

/// The crash report dialog as the crash handler shows it: the host's picture in it, and ended
/// with 0 by "Send" or with 1 by "Do not send", Escape or closing the window.
class KX_API kxCrashReportDlg : public guiCrashReportDlg
{
public:
    /// parent is null for the crash report; an invalid picture leaves the picture empty.
    kxCrashReportDlg(wxWindow* parent, const wxBitmap& picture);

protected:
    /// The event table's handlers: Escape (other keys go on), closing the window and "Do not
    /// send" end the dialog with 1, "Send" with 0. Only the first answer counts; a dialog shown
    /// without a modal loop is hidden with its answer as return code.
    ///@{
    void OnCharHook(wxKeyEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnButtonSend(wxCommandEvent& event);
    void OnButtonDontSend(wxCommandEvent& event);
    ///@}

private:
    void PrivateEnd(int answer);

    wxDECLARE_EVENT_TABLE();
};

#endif
