#ifndef KXRUZOVORI_CONTROLS_WXPLEASEWAITDLG_H
#define KXRUZOVORI_CONTROLS_WXPLEASEWAITDLG_H

#include "kxRuzoVori/kxExport.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include <memory>

/// A small modeless dialog that shows a message while the host works on the GUI thread, with an
/// optional Cancel button, keeping the rest of the application (or the parent's window) disabled
/// meanwhile. The host calls Update now and then: it lets pending events through and tells
/// whether the user cancelled.
class KX_API wxPleaseWaitDlg : public wxDialog
{
public:
    /// Style bits; they are also added to the dialog's window style.
    enum
    {
        /// Every other window is disabled while the dialog exists; without it only the parent's
        /// top-level window is.
        STYLE_APP_MODAL = 1,
        /// A Cancel button is shown.
        STYLE_CAN_CANCEL = 2,
        /// The dialog is shown and painted at once.
        STYLE_SHOW_AT_ONCE = 4
    };

    /// What GetState() says.
    enum
    {
        STATE_NO_CANCEL = -1, ///< Running without a Cancel button.
        STATE_CANCELLED = 0,  ///< The user pressed Cancel (or closed the dialog).
        STATE_RUNNING = 1,    ///< Running; Cancel not pressed.
        STATE_COMPLETED = 2   ///< Completed() was called.
    };

    /// A dialog showing message under title; size is the smallest size the dialog takes. The
    /// other windows are disabled from now on.
    wxPleaseWaitDlg(const wxString& title, const wxString& message, wxWindow* parent = nullptr,
                    int style = STYLE_APP_MODAL | STYLE_CAN_CANCEL | STYLE_SHOW_AT_ONCE,
                    const wxSize& size = wxDefaultSize);
    /// Enables the windows again, as Completed() does.
    ~wxPleaseWaitDlg() override;

    /// Shows message unless it is empty, lets pending events through and repaints. False once
    /// the user cancelled, until Resume.
    bool Update(const wxString& message);
    using wxDialog::Update;
    /// Shows message when it differs from the text shown.
    void UpdateMessage(const wxString& message);
    /// Enable or disable the Cancel button while running or completed.
    void EnableCancel(bool enable = true);
    /// EnableCancel(false).
    void DisableCancel() { EnableCancel(false); }
    /// Back to running after a cancel.
    void Resume();
    /// Hides the dialog and enables the windows again.
    void Completed();
    /// Enables the windows the dialog disabled, leaving the dialog as it is.
    void ReenableOtherWindows();

    /// One of the STATE_ values.
    int GetState() const { return m_state; }

private:
    void PrivateOnCancel(wxCommandEvent& event);
    void PrivateOnClose(wxCloseEvent& event);
    void PrivateOnParentDestroyed(wxWindowDestroyEvent& event);

    int m_state;
    std::unique_ptr<wxWindowDisabler> m_disabler;
    wxStaticText* m_message;
    wxWindow* m_topParent;
    wxButton* m_cancel = nullptr;
    bool m_appModal;

    wxDECLARE_NO_COPY_CLASS(wxPleaseWaitDlg);
};

#endif
