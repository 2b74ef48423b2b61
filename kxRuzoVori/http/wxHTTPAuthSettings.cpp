// The authentication record's configuration keys.
#include "kxRuzoVori/http/wxHTTPAuthSettings.h"

#include "kxRuzoVori/http/private/kxHttpConfig.h"

bool wxHTTPAuthSettings::AuthSettingsSave(wxConfigBase& config) const
{
    bool ok = config.Write(wxS("AuthType"), static_cast<long>(m_authType));
    ok = kxHttpWriteFlag(config, wxS("RememberPasswd"), m_rememberPassword) && ok;
    ok = config.Write(wxS("AuthUsername"), m_userName) && ok;
    return config.Write(wxS("AuthPassword"), m_password) && ok;
}

void wxHTTPAuthSettings::AuthSettingsLoad(wxConfigBase& config)
{
    kxHttpConfigVerbatim verbatim(config);
    long type = m_authType;
    kxHttpReadInt32(config, wxS("AuthType"), type);
    m_authType = static_cast<wxHTTP_Auth>(type);
    kxHttpReadFlag(config, wxS("RememberPasswd"), m_rememberPassword);
    config.Read(wxS("AuthUsername"), &m_userName);
    config.Read(wxS("AuthPassword"), &m_password);
}
