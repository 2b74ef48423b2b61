// The crash report dialog's controls and layout.
#include "kxRuzoVori/crash/guiCrashReportDlg.h"

#include "kxRuzoVori/core/kxTranslate.h"

#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/sizer.h>

namespace
{
// Sizes given in pixels are the least a control gets: where the theme's font or frame needs
// more, the control grows instead of cutting its text.
template <class Control> Control* AtLeast(Control* control, const wxSize& size)
{
    wxSize least = size;
    least.IncTo(control->GetBestSize());
    control->SetMinSize(least);
    return control;
}
} // namespace

guiCrashReportDlg::guiCrashReportDlg(wxWindow* parent, wxWindowID id, const wxString& title,
                                     const wxPoint& position, const wxSize& size, long style)
    : wxDialog(parent, id, title, position, size, style)
{
    CreateGUIControls();
}

void guiCrashReportDlg::CreateGUIControls()
{
    wxBoxSizer* dialogSizer = new wxBoxSizer(wxVERTICAL);

    wxBoxSizer* topRow = new wxBoxSizer(wxHORIZONTAL);
    dialogSizer->Add(topRow, 0, wxEXPAND | wxALL, 5);
    WxStaticBitmap1 =
        new wxStaticBitmap(this, ID_PICTURE, wxNullBitmap, wxDefaultPosition, wxSize(48, 48));
    // In a row only the vertical centring has a meaning.
    topRow->Add(WxStaticBitmap1, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
    guiDialogDesc = new wxStaticText(
        this, ID_DESCRIPTION,
        kxTranslate(wxS("We are sorry, but fatal error was catched. If you want us to fix it, "
                        "please push \"Send\" button. You can fill e-mail field, if you want our "
                        "feedback.")),
        wxDefaultPosition, wxSize(280, 39), wxST_NO_AUTORESIZE, wxS("guiDialogDesc"));
    guiDialogDesc->Wrap(280);
    topRow->Add(AtLeast(guiDialogDesc, wxSize(280, 39)), 1, wxEXPAND | wxALL, 5);

    wxBoxSizer* emailBlock = new wxBoxSizer(wxVERTICAL);
    dialogSizer->Add(emailBlock, 0, wxEXPAND | wxALL, 0);
    WxStaticText1 = new wxStaticText(this, ID_EMAIL_LABEL, kxTranslate(wxS("Your e-mail:")),
                                     wxDefaultPosition, wxSize(80, 17), 0, wxS("WxStaticText1"));
    emailBlock->Add(AtLeast(WxStaticText1, wxSize(80, 17)), 0, wxTOP | wxLEFT, 5);
    guiEditEmail = new wxTextCtrl(this, ID_EMAIL, wxEmptyString, wxDefaultPosition, wxSize(250, 19),
                                  0, wxDefaultValidator, wxS("guiEditEmail"));
    emailBlock->Add(AtLeast(guiEditEmail, wxSize(250, 19)), 1, wxEXPAND | wxALL, 5);

    // The buttons come before the note in the tab order, as the designer made them.
    guiButtonSend = new wxButton(this, ID_BUTTON_SEND, kxTranslate(wxS("Send")), wxDefaultPosition,
                                 wxSize(75, 25), 0, wxDefaultValidator, wxS("guiButtonSend"));
    guiButtonDontSend =
        new wxButton(this, ID_BUTTON_DONT_SEND, kxTranslate(wxS("Do not send")), wxDefaultPosition,
                     wxSize(75, 25), 0, wxDefaultValidator, wxS("guiButtonDontSend"));

    wxBoxSizer* noteBlock = new wxBoxSizer(wxVERTICAL);
    dialogSizer->Add(noteBlock, 1, wxEXPAND | wxALL, 5);
    WxStaticText2 = new wxStaticText(this, ID_NOTE_LABEL, kxTranslate(wxS("Your note:")),
                                     wxDefaultPosition, wxDefaultSize, 0, wxS("WxStaticText2"));
    noteBlock->Add(WxStaticText2, 0, wxTOP | wxLEFT, 5);
    guiEditNote = new wxTextCtrl(this, ID_NOTE, wxEmptyString, wxDefaultPosition, wxSize(300, 60),
                                 wxTE_MULTILINE, wxDefaultValidator, wxS("guiEditNote"));
    noteBlock->Add(AtLeast(guiEditNote, wxSize(300, 60)), 1, wxEXPAND | wxALL, 5);

    wxBoxSizer* buttonRow = new wxBoxSizer(wxHORIZONTAL);
    dialogSizer->Add(buttonRow, 0, wxALIGN_RIGHT | wxRIGHT | wxBOTTOM, 5);
    buttonRow->Add(AtLeast(guiButtonSend, wxSize(75, 25)), 0, wxALIGN_BOTTOM | wxALL, 5);
    buttonRow->Add(AtLeast(guiButtonDontSend, wxSize(75, 25)), 0, wxALIGN_BOTTOM | wxALL, 5);

    SetTitle(kxTranslate(wxS("Crash report")));
    SetIcon(wxNullIcon);
    SetSizer(dialogSizer);
    dialogSizer->Fit(this);
    dialogSizer->SetSizeHints(this);
    Center();
}
