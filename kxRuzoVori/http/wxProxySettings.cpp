// The proxy record's configuration keys.
#include "kxRuzoVori/http/wxProxySettings.h"

#include "kxRuzoVori/http/private/kxHttpConfig.h"

bool wxProxySettings::ProxySettingsSave(wxConfigBase& config) const
{
    bool ok = kxHttpWriteFlag(config, wxS("RequiresAuth"), m_requiresAuth);
    ok = kxHttpWriteFlag(config, wxS("UseProxy"), m_useProxy) && ok;
    ok = config.Write(wxS("ProxyPort"), m_port) && ok;
    ok = config.Write(wxS("ProxyExceptions"), m_exceptions) && ok;
    ok = config.Write(wxS("ProxyExceptionsDelim"), m_exceptionsDelimiter) && ok;
    ok = config.Write(wxS("ProxyHostname"), m_hostName) && ok;
    ok = config.Write(wxS("ProxyUsername"), m_userName) && ok;
    return config.Write(wxS("ProxyPassword"), m_password) && ok;
}

void wxProxySettings::ProxySettingsLoad(wxConfigBase& config)
{
    kxHttpConfigVerbatim verbatim(config);
    kxHttpReadFlag(config, wxS("RequiresAuth"), m_requiresAuth);
    kxHttpReadFlag(config, wxS("UseProxy"), m_useProxy);
    kxHttpReadInt32(config, wxS("ProxyPort"), m_port);
    config.Read(wxS("ProxyExceptions"), &m_exceptions);
    config.Read(wxS("ProxyExceptionsDelim"), &m_exceptionsDelimiter);
    config.Read(wxS("ProxyHostname"), &m_hostName);
    config.Read(wxS("ProxyUsername"), &m_userName);
    config.Read(wxS("ProxyPassword"), &m_password);
}
