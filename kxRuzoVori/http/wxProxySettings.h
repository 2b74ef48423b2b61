#ifndef KXRUZOVORI_HTTP_WXPROXYSETTINGS_H
#define KXRUZOVORI_HTTP_WXPROXYSETTINGS_H

#include "kxRuzoVori/kxExport.h"

#include <wx/confbase.h>
#include <wx/string.h>

/// A plain record: hosts and dialogs read and write its fields directly.
/// Where and how a request builder reaches the web through an HTTP proxy: the proxy's address,
/// its credentials and the hosts reached without it, with their place in a configuration object.
class KX_API wxProxySettings
{
public:
    wxProxySettings() = default;
    /// Copies every field.
    ///@{
    wxProxySettings(const wxProxySettings& other) = default;
    wxProxySettings& operator=(const wxProxySettings& other) = default;
    ///@}
    virtual ~wxProxySettings() = default;

    /// Whether requests go through the proxy at all.
    void SetUseProxy(bool useProxy) { m_useProxy = useProxy; }

    /// Writes every field under the keys "RequiresAuth", "UseProxy", "ProxyPort",
    /// "ProxyExceptions", "ProxyExceptionsDelim", "ProxyHostname", "ProxyUsername" and
    /// "ProxyPassword" in the configuration's current path, flags as 1 or 0 and the password as
    /// plain text. False when the configuration refused a write.
    bool ProxySettingsSave(wxConfigBase& config) const;
    /// Reads the same keys; a missing key leaves its field as it is, a flag is set only by a
    /// stored 1, and a port that is no 32-bit number is ignored.
    void ProxySettingsLoad(wxConfigBase& config);

    /// The proxy's host name or address.
    wxString m_hostName;
    /// The credentials sent to the proxy when it requires authentication, as given.
    ///@{
    wxString m_userName;
    wxString m_password;
    ///@}
    /// Host names (or their last parts) reached without the proxy, separated by the delimiter.
    wxString m_exceptions;
    /// What separates the entries of m_exceptions; a comma for a new record.
    wxString m_exceptionsDelimiter = wxS(",");
    /// The proxy's port; 8080 for a new record.
    long m_port = 8080;
    /// Whether requests go through the proxy; off for a new record.
    bool m_useProxy = false;
    /// Whether the proxy is sent the credentials; off for a new record.
    bool m_requiresAuth = false;
};

#endif
