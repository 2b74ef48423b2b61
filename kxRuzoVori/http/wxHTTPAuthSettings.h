#ifndef KXRUZOVORI_HTTP_WXHTTPAUTHSETTINGS_H
#define KXRUZOVORI_HTTP_WXHTTPAUTHSETTINGS_H

#include "kxRuzoVori/kxExport.h"

#include <wx/confbase.h>
#include <wx/defs.h>
#include <wx/string.h>

/// A plain record: hosts and dialogs read and write its fields directly.
/// The credentials a request builder sends to the server: user name, password, scheme and whether
/// the user wants the password kept, with their place in a configuration object.
class KX_API wxHTTPAuthSettings
{
public:
    /// Schemes other than these two are kept as they are but never acted on.
    enum wxHTTP_Auth : wxInt32
    {
        wxHTTP_AUTH_NONE = 0,
        wxHTTP_AUTH_BASIC = 1
    };

    wxHTTPAuthSettings() = default;
    /// Copies every field.
    ///@{
    wxHTTPAuthSettings(const wxHTTPAuthSettings& other) = default;
    wxHTTPAuthSettings& operator=(const wxHTTPAuthSettings& other) = default;
    ///@}
    virtual ~wxHTTPAuthSettings() = default;

    /// Sets the scheme to Basic authentication or to none; the credentials stay as they are.
    ///@{
    void SetBasicAuth() { m_authType = wxHTTP_AUTH_BASIC; }
    void SetNoAuth() { m_authType = wxHTTP_AUTH_NONE; }
    ///@}

    /// Writes every field under the keys "AuthType", "RememberPasswd", "AuthUsername" and
    /// "AuthPassword" in the configuration's current path, the password as plain text whatever
    /// the remember flag says. False when the configuration refused a write.
    bool AuthSettingsSave(wxConfigBase& config) const;
    /// Reads the same keys; a missing key leaves its field as it is, and the remember flag is set
    /// only by a stored 1.
    void AuthSettingsLoad(wxConfigBase& config);

    /// The user name and password sent with Basic authentication, as given (not encoded).
    ///@{
    wxString m_userName;
    wxString m_password;
    ///@}
    /// The scheme; none for a new record.
    wxHTTP_Auth m_authType = wxHTTP_AUTH_NONE;
    /// Whether the user asked to keep the password; the record itself never acts on it.
    bool m_rememberPassword = false;
};

#endif
