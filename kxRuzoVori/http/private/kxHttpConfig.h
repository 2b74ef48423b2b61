// How the HTTP settings records keep numbers and flags in a configuration object.
#ifndef KXRUZOVORI_HTTP_PRIVATE_KXHTTPCONFIG_H
#define KXRUZOVORI_HTTP_PRIVATE_KXHTTPCONFIG_H

#include <wx/confbase.h>

#include <cstdint>

// Texts come back as they were saved: a password holding "$HOME" is not a variable to expand.
class kxHttpConfigVerbatim
{
public:
    explicit kxHttpConfigVerbatim(wxConfigBase& config)
        : m_config(config), m_expanding(config.IsExpandingEnvVars())
    {
        m_config.SetExpandEnvVars(false);
    }
    ~kxHttpConfigVerbatim() { m_config.SetExpandEnvVars(m_expanding); }
    kxHttpConfigVerbatim(const kxHttpConfigVerbatim&) = delete;
    kxHttpConfigVerbatim& operator=(const kxHttpConfigVerbatim&) = delete;

private:
    wxConfigBase& m_config;
    bool m_expanding;
};

// Flags are stored as the integers 1 and 0.
inline bool kxHttpWriteFlag(wxConfigBase& config, const wxString& key, bool flag)
{
    return config.Write(key, flag ? 1L : 0L);
}

// A stored flag is true only when it is exactly 1; a missing key keeps flag as it is.
inline void kxHttpReadFlag(wxConfigBase& config, const wxString& key, bool& flag)
{
    long stored = 0;
    if (config.Read(key, &stored))
        flag = stored == 1;
}

// The stored number when the key holds one in the 32-bit range; a missing key, or a text that
// is not such a number, keeps value as it is.
inline void kxHttpReadInt32(wxConfigBase& config, const wxString& key, long& value)
{
    long stored = 0;
    if (config.Read(key, &stored) && stored >= INT32_MIN && stored <= INT32_MAX)
        value = stored;
}

#endif
