// The login record: defaults, copies and a round trip through a settings file.
#include "kxRuzoVori/http/wxHTTPAuthSettings.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/fileconf.h>

#include <string>

TEST(AuthSettings, DefaultsSchemesAndCopies)
{
    wxHTTPAuthSettings auth;
    EXPECT_EQ(wxString(), auth.m_userName);
    EXPECT_EQ(wxString(), auth.m_password);
    EXPECT_EQ(wxHTTPAuthSettings::wxHTTP_AUTH_NONE, auth.m_authType);
    EXPECT_FALSE(auth.m_rememberPassword);
    EXPECT_EQ(4u, sizeof auth.m_authType);

    auth.SetBasicAuth();
    EXPECT_EQ(1, auth.m_authType);
    auth.m_userName = wxS("ann");
    const wxHTTPAuthSettings copy(auth);
    EXPECT_EQ(wxS("ann"), copy.m_userName);
    EXPECT_EQ(1, copy.m_authType);
    auth.SetNoAuth();
    EXPECT_EQ(0, auth.m_authType);
}

TEST(AuthSettings, SavedToAFileAndLoadedBack)
{
    kxTestTempDir dir;
    const wxString path = dir.File(wxS("auth.ini"));
    wxHTTPAuthSettings saved;
    saved.SetBasicAuth();
    saved.m_userName = wxS("\u0410\u043d\u043d\u0430");
    saved.m_password = wxS("${USER} %s \"x\" ");
    // The password is kept even when the user did not ask for it.
    saved.m_rememberPassword = false;
    {
        wxFileConfig config(wxS("kxtest"), wxEmptyString, path, wxEmptyString,
                            wxCONFIG_USE_LOCAL_FILE);
        EXPECT_TRUE(saved.AuthSettingsSave(config));
        ASSERT_TRUE(config.Flush());
    }
    const std::string text = kxTestReadFile(path).utf8_string();
    const size_t type = text.find("AuthType=1\n");
    const size_t remember = text.find("RememberPasswd=0\n");
    const size_t user = text.find("AuthUsername=");
    const size_t password = text.find("AuthPassword=");
    ASSERT_NE(std::string::npos, password) << text;
    EXPECT_LT(type, remember);
    EXPECT_LT(remember, user);
    EXPECT_LT(user, password);

    wxFileConfig config(wxS("kxtest"), wxEmptyString, path, wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
    wxHTTPAuthSettings loaded;
    loaded.AuthSettingsLoad(config);
    EXPECT_EQ(saved.m_userName, loaded.m_userName);
    EXPECT_EQ(saved.m_password, loaded.m_password);
    EXPECT_EQ(wxHTTPAuthSettings::wxHTTP_AUTH_BASIC, loaded.m_authType);
    EXPECT_FALSE(loaded.m_rememberPassword);
}

TEST(AuthSettings, LoadKeepsWhatTheFileDoesNotHold)
{
    kxTestTempDir dir;
    const wxString path = dir.File(wxS("odd.ini"));
    ASSERT_TRUE(kxTestWriteFile(path, "AuthType=7\nRememberPasswd=2\n"));
    wxFileConfig config(wxS("kxtest"), wxEmptyString, path, wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
    wxHTTPAuthSettings auth;
    auth.m_userName = wxS("kept");
    auth.m_rememberPassword = true;
    auth.AuthSettingsLoad(config);
    // An unknown scheme is kept as stored and never acted on.
    EXPECT_EQ(7, auth.m_authType);
    EXPECT_FALSE(auth.m_rememberPassword);
    EXPECT_EQ(wxS("kept"), auth.m_userName);
}
