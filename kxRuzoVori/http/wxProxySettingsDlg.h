#ifndef KXRUZOVORI_HTTP_WXPROXYSETTINGSDLG_H
#define KXRUZOVORI_HTTP_WXPROXYSETTINGSDLG_H

#include "kxRuzoVori/http/wxProxySettings.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

/// A modal dialog for a proxy's host and port, its credentials and, when built with them, the
/// addresses reached without it. The host fills it with SetProxySettings, shows it with
/// ShowModal and, on wxID_OK, reads the edited record with GetProxySettings; no input is checked.
/// The dialog that edits a proxy's settings.
class KX_API wxProxySettingsDlg : public wxDialog
{
public:
    /// message, when not empty, is shown above the settings; showExceptions adds the exception
    /// list.
    wxProxySettingsDlg(wxWindow* parent, int id, const wxString& title, const wxString& message,
                       bool showExceptions);

    /// Takes a copy of settings and shows its values.
    void SetProxySettings(const wxProxySettings& settings);
    /// The record given last, with what the dialog shows now; use-proxy is set exactly when a
    /// host is given.
    wxProxySettings GetProxySettings();

    /// The text of the dialog's fields, as they are now; the record given with SetProxySettings
    /// is not touched.
    ///@{
    void SetHost(wxString host);
    wxString GetHost() const;
    void SetPortNumber(long port);
    ///@}
    /// The port field as a decimal number; 0 when it does not start with one.
    long GetPortNumber() const;
    /// The credentials' fields, as they are now, whether or not they can be edited.
    ///@{
    void SetUsername(wxString userName);
    wxString GetUsername() const;
    void SetPassword(wxString password);
    wxString GetPassword() const;
    ///@}

    /// The exception list, separated as the texts around it say. Without that section the setters
    /// do nothing and the getter returns an empty text.
    ///@{
    void SetHostExceptions(wxString exceptions);
    wxString GetHostExceptions() const;
    ///@}
    /// The texts above and below the exception list; the dialog grows to show them whole.
    ///@{
    void SetHostExceptionsDesc(const wxString& text);
    void SetHostExceptionsNote(const wxString& text);
    ///@}

    /// Ticks the authentication box and lets the credentials be edited only when it is ticked.
    void SetAuthProxy(bool requiresAuth);
    /// Whether the authentication box is ticked.
    bool IsAuthProxy() const;

    /// Every check box click in the dialog: the credentials can be edited while the box is ticked.
    void OnRequiresAuthentication(wxCommandEvent& event);

protected:
    /// The dialog's controls (the exception list and its texts are null when the dialog has
    /// none) and the record given last, for hosts that derive from the dialog.
    ///@{
    wxTextCtrl* m_host;
    wxTextCtrl* m_port;
    wxCheckBox* m_requiresAuth;
    wxTextCtrl* m_userName;
    wxTextCtrl* m_password;
    wxTextCtrl* m_exceptions = nullptr;
    wxStaticText* m_exceptionsDesc = nullptr;
    wxStaticText* m_exceptionsNote = nullptr;
    wxProxySettings m_settings;
    ///@}

private:
    void PrivateEnableCredentials(bool enable);
    // Sets a label's text and lets the dialog grow to show it whole.
    void PrivateRelabel(wxStaticText* label, const wxString& text);

    wxDECLARE_EVENT_TABLE();
};

#endif
