// The login dialog: its layout without the remember box, and a modal run.
#include "kxRuzoVori/http/wxAuthenticateDlg.h"
#include "http/kxDialogTestSupport.h"

namespace
{
// Gives the dialog's fields to the tests.
class AuthDlg : public wxAuthenticateDlg
{
public:
    using wxAuthenticateDlg::wxAuthenticateDlg;
    wxTextCtrl* User() { return m_userName; }
    wxTextCtrl* Password() { return m_password; }
    wxCheckBox* Remember() { return m_remember; }
};

} // namespace

// Without the box the password is never remembered; a user name switches the scheme to Basic,
// an empty one keeps the record's.
TEST_F(kxHttpDialogs, AuthenticateDialogWithoutRememberBox)
{
    auto* dialog = Keep(new AuthDlg(nullptr, wxID_ANY, wxS("Log in"), wxString(), false));
    ASSERT_TRUE(kxTestShow(dialog));
    EXPECT_EQ(dialog->Remember(), nullptr);
    EXPECT_EQ(All<wxStaticText>(dialog).size(), 2u);
    EXPECT_EQ(dialog->User()->GetSize().x, 180);
    EXPECT_TRUE(dialog->Password()->HasFlag(wxTE_PASSWORD));
    wxHTTPAuthSettings fresh = dialog->GetAuthSettings();
    EXPECT_EQ(fresh.m_authType, wxHTTPAuthSettings::wxHTTP_AUTH_BASIC);
    EXPECT_FALSE(fresh.m_rememberPassword);

    wxHTTPAuthSettings none;
    none.m_rememberPassword = true;
    dialog->SetAuthSettings(none);
    dialog->SetRememberPassword(true);
    EXPECT_FALSE(dialog->GetRememberPassword());
    EXPECT_EQ(dialog->GetAuthSettings().m_authType, wxHTTPAuthSettings::wxHTTP_AUTH_NONE);
    EXPECT_FALSE(dialog->GetAuthSettings().m_rememberPassword);
    Type(dialog->User(), wxS("bob"));
    EXPECT_EQ(dialog->GetAuthSettings().m_authType, wxHTTPAuthSettings::wxHTTP_AUTH_BASIC);
}

// Filled by the user in a modal run and closed with OK; the box sits under the fields.
TEST_F(kxHttpDialogs, AuthenticateDialogModalRun)
{
    auto* dialog = Keep(
        new AuthDlg(nullptr, wxID_ANY, wxS("Log in"), wxS("The server asks who you are"), true));
    ASSERT_TRUE(dialog->Remember());
    EXPECT_EQ(dialog->Remember()->GetLabel(), wxS("Remember password"));
    EXPECT_TRUE(Label(dialog, wxS("The server asks who you are")));
    wxHTTPAuthSettings given;
    given.m_userName = wxS("old");
    dialog->SetAuthSettings(given);
    EXPECT_EQ(dialog->GetUsername(), wxS("old"));

    bool driven = false;
    dialog->CallAfter(
        [&]
        {
            kxTestPumpEvents(200);
            EXPECT_EQ(dialog->Remember()->GetScreenPosition().x,
                      dialog->User()->GetScreenPosition().x);
            dialog->User()->Clear();
            Type(dialog->User(), wxS("carol"));
            Type(dialog->Password(), wxS("pw"));
            kxTestClick(dialog->Remember());
            kxTestPumpEvents(100);
            kxTestClick(dialog->FindWindow(wxID_OK));
            driven = true;
        });
    EXPECT_EQ(dialog->ShowModal(), wxID_OK);
    EXPECT_TRUE(driven);
    const wxHTTPAuthSettings got = dialog->GetAuthSettings();
    EXPECT_EQ(got.m_userName, wxS("carol"));
    EXPECT_EQ(got.m_password, wxS("pw"));
    EXPECT_TRUE(got.m_rememberPassword);
    EXPECT_EQ(got.m_authType, wxHTTPAuthSettings::wxHTTP_AUTH_BASIC);
}
