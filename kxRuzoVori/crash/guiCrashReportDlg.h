#ifndef KXRUZOVORI_CRASH_GUICRASHREPORTDLG_H
#define KXRUZOVORI_CRASH_GUICRASHREPORTDLG_H

#include "kxRuzoVori/kxExport.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

/// The crash report dialog's controls and layout: a picture beside an apology, a field for the
/// user's e-mail address, one for a note, and the buttons "Send" and "Do not send". The
/// behaviour lives in kxCrashReportDlg.
class KX_API guiCrashReportDlg : public wxDialog
{
public:
    enum
    {
        ID_DIALOG = 1,
        ID_PICTURE = 2091,
        ID_DESCRIPTION = 2092,
        ID_BUTTON_SEND = 2328,
        ID_BUTTON_DONT_SEND = 2329,
        ID_EMAIL_LABEL = 2334,
        ID_EMAIL = 2335,
        ID_NOTE_LABEL = 2345,
        ID_NOTE = 2346
    };

    /// Whatever title is given, the dialog shows "Crash report" in the user's language.
    guiCrashReportDlg(wxWindow* parent, wxWindowID id = ID_DIALOG,
                      const wxString& title = wxS("Crash report"),
                      const wxPoint& position = wxDefaultPosition,
                      const wxSize& size = wxDefaultSize,
                      long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxMINIMIZE_BOX |
                                   wxRESIZE_BORDER | wxDIALOG_NO_PARENT);

protected:
    /// The controls, made by the constructor and owned by the dialog: the picture, the apology,
    /// the e-mail label and field, the two buttons, the note label and field.
    ///@{
    wxStaticBitmap* WxStaticBitmap1;
    wxStaticText* guiDialogDesc;
    wxStaticText* WxStaticText1;
    wxTextCtrl* guiEditEmail;
    wxButton* guiButtonSend;
    wxButton* guiButtonDontSend;
    wxStaticText* WxStaticText2;
    wxTextCtrl* guiEditNote;
    ///@}

private:
    void CreateGUIControls();
};

#endif
