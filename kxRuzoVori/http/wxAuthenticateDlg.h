#ifndef KXRUZOVORI_HTTP_WXAUTHENTICATEDLG_H
#define KXRUZOVORI_HTTP_WXAUTHENTICATEDLG_H

#include "kxRuzoVori/http/wxHTTPAuthSettings.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/textctrl.h>

/// A modal dialog for the credentials a server asks for and, when built with it, whether the
/// password is kept. The host fills it with SetAuthSettings, shows it with ShowModal and, on
/// wxID_OK, reads the edited record with GetAuthSettings; no input is checked.
/// The dialog that asks for a user name and password.
class KX_API wxAuthenticateDlg : public wxDialog
{
public:
    /// message, when not empty, is shown above the fields; showRemember adds the "Remember
    /// password" box.
    wxAuthenticateDlg(wxWindow* parent, int id, const wxString& title, const wxString& message,
                      const bool& showRemember);

    /// Takes a copy of settings and shows its values.
    void SetAuthSettings(const wxHTTPAuthSettings& settings);
    /// The record given last (Basic authentication for a new dialog), with what the dialog shows
    /// now; a user name given switches it to Basic authentication.
    wxHTTPAuthSettings GetAuthSettings();

    /// The text of the user name and password fields, as they are now; the record given with
    /// SetAuthSettings is not touched.
    ///@{
    void SetUsername(wxString userName);
    wxString GetUsername() const;
    void SetPassword(wxString password);
    wxString GetPassword() const;
    ///@}
    /// The "Remember password" box; without it the setter does nothing and the getter is false.
    ///@{
    void SetRememberPassword(const bool& remember);
    bool GetRememberPassword() const;
    ///@}

protected:
    /// The dialog's fields (the remember box is null when the dialog has none) and the record
    /// given last, for hosts that derive from the dialog.
    ///@{
    wxTextCtrl* m_userName;
    wxTextCtrl* m_password;
    wxCheckBox* m_remember = nullptr;
    wxHTTPAuthSettings m_settings;
    ///@}
};

#endif
