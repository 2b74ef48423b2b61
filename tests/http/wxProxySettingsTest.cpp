// The proxy record: defaults, copies and a round trip through a settings file.
#include "kxRuzoVori/http/wxProxySettings.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/fileconf.h>

#include <memory>
#include <string>

namespace
{
// A configuration file on disk, opened the way a host opens its own.
std::unique_ptr<wxFileConfig> OpenConfig(const wxString& path)
{
    return std::make_unique<wxFileConfig>(wxS("kxtest"), wxEmptyString, path, wxEmptyString,
                                          wxCONFIG_USE_LOCAL_FILE);
}

wxProxySettings Sample()
{
    wxProxySettings proxy;
    proxy.m_hostName = wxS("proxy.example.org");
    proxy.m_userName = wxS("J\u00fcrgen");
    proxy.m_password = wxS("  $HOME \"quoted\" \\ back;#=%d \U0001F600 ");
    proxy.m_exceptions = wxS("localhost; .intra.example.org");
    proxy.m_exceptionsDelimiter = wxS(";");
    proxy.m_port = 3128;
    proxy.m_useProxy = true;
    proxy.m_requiresAuth = true;
    return proxy;
}

void ExpectSame(const wxProxySettings& expected, const wxProxySettings& actual)
{
    EXPECT_EQ(expected.m_hostName, actual.m_hostName);
    EXPECT_EQ(expected.m_userName, actual.m_userName);
    EXPECT_EQ(expected.m_password, actual.m_password);
    EXPECT_EQ(expected.m_exceptions, actual.m_exceptions);
    EXPECT_EQ(expected.m_exceptionsDelimiter, actual.m_exceptionsDelimiter);
    EXPECT_EQ(expected.m_port, actual.m_port);
    EXPECT_EQ(expected.m_useProxy, actual.m_useProxy);
    EXPECT_EQ(expected.m_requiresAuth, actual.m_requiresAuth);
}
} // namespace

TEST(ProxySettings, DefaultsAndCopies)
{
    const wxProxySettings fresh;
    EXPECT_EQ(wxString(), fresh.m_hostName);
    EXPECT_EQ(wxS(","), fresh.m_exceptionsDelimiter);
    EXPECT_EQ(8080, fresh.m_port);
    EXPECT_FALSE(fresh.m_useProxy);
    EXPECT_FALSE(fresh.m_requiresAuth);

    const wxProxySettings sample = Sample();
    wxProxySettings copy(sample);
    ExpectSame(sample, copy);
    wxProxySettings assigned;
    assigned = sample;
    ExpectSame(sample, assigned);
    assigned.SetUseProxy(false);
    EXPECT_FALSE(assigned.m_useProxy);
}

TEST(ProxySettings, SavedToAFileAndLoadedBackInKeyOrder)
{
    kxTestTempDir dir;
    const wxString path = dir.File(wxS("net.ini"));
    {
        auto config = OpenConfig(path);
        config->SetPath(wxS("/Network"));
        EXPECT_TRUE(Sample().ProxySettingsSave(*config));
        ASSERT_TRUE(config->Flush());
    }
    const std::string text = kxTestReadFile(path).utf8_string();
    const char* keys[] = {"RequiresAuth=1",
                          "UseProxy=1",
                          "ProxyPort=3128",
                          "ProxyExceptions=",
                          "ProxyExceptionsDelim=",
                          "ProxyHostname=",
                          "ProxyUsername=J\xc3\xbcrgen",
                          "ProxyPassword="};
    size_t at = text.find("[Network]");
    ASSERT_NE(std::string::npos, at) << text;
    for (const char* key : keys)
    {
        const size_t next = text.find(std::string("\n") + key, at);
        ASSERT_NE(std::string::npos, next) << key << " in order in\n" << text;
        at = next + 1;
    }

    auto config = OpenConfig(path);
    config->SetPath(wxS("/Network"));
    wxProxySettings loaded;
    loaded.ProxySettingsLoad(*config);
    ExpectSame(Sample(), loaded);
    // The host's own configuration keeps expanding variables for its other entries.
    EXPECT_TRUE(config->IsExpandingEnvVars());
}

TEST(ProxySettings, LoadKeepsWhatTheFileDoesNotHold)
{
    kxTestTempDir dir;
    const wxString path = dir.File(wxS("odd.ini"));
    ASSERT_TRUE(kxTestWriteFile(path, "[Empty]\n"
                                      "[Odd]\n"
                                      "UseProxy=2\n"
                                      "RequiresAuth=yes\n"
                                      "ProxyPort=99999999999\n"
                                      "ProxyHostname=cache\n"));
    auto config = OpenConfig(path);

    config->SetPath(wxS("/Empty"));
    wxProxySettings fresh;
    fresh.ProxySettingsLoad(*config);
    ExpectSame(wxProxySettings(), fresh);

    // Neither 2 nor a word is a stored 1; a port beyond 32 bits is no port.
    config->SetPath(wxS("/Odd"));
    wxProxySettings odd = Sample();
    odd.ProxySettingsLoad(*config);
    EXPECT_FALSE(odd.m_useProxy);
    EXPECT_TRUE(odd.m_requiresAuth);
    EXPECT_EQ(3128, odd.m_port);
    EXPECT_EQ(wxS("cache"), odd.m_hostName);
    EXPECT_EQ(Sample().m_password, odd.m_password);
}
