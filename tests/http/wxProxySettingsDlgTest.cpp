// The proxy dialog: its layout and the record it returns after the user's edits.
#include "kxRuzoVori/http/wxProxySettingsDlg.h"
#include "http/kxDialogTestSupport.h"

#include <wx/button.h>
#include <wx/statbox.h>

namespace
{
// Gives the dialog's fields to the tests.
class ProxyDlg : public wxProxySettingsDlg
{
public:
    using wxProxySettingsDlg::wxProxySettingsDlg;
    wxTextCtrl* Host() { return m_host; }
    wxTextCtrl* Port() { return m_port; }
    wxCheckBox* Auth() { return m_requiresAuth; }
    wxTextCtrl* User() { return m_userName; }
    wxTextCtrl* Password() { return m_password; }
    wxTextCtrl* Exceptions() { return m_exceptions; }
};

} // namespace

// The groups in their order with their texts, fields 180 pixels wide beside labels 100 pixels
// wide, the credentials disabled, and the exception section only when asked for.
TEST_F(kxHttpDialogs, ProxyDialogLayout)
{
    auto* full = Keep(new ProxyDlg(nullptr, wxID_ANY, wxS("Proxy"), wxS("Ask your admin"), true));
    ASSERT_TRUE(kxTestShow(full));
    std::vector<wxString> captions;
    int below = -1;
    for (wxStaticBox* box : All<wxStaticBox>(full))
    {
        captions.push_back(box->GetLabel());
        EXPECT_GT(box->GetPosition().y, below) << box->GetLabel();
        below = box->GetPosition().y;
    }
    EXPECT_EQ(captions, (std::vector<wxString>{wxS("Server Settings"), wxS("Authentication"),
                                               wxS("Exceptions")}));
    EXPECT_LT(Label(full, wxS("Ask your admin"))->GetScreenPosition().y,
              All<wxStaticBox>(full)[0]->GetScreenPosition().y);
    for (const wxString text : {wxS("Host:"), wxS("Port:"), wxS("Username:"), wxS("Password:")})
    {
        ASSERT_TRUE(Label(full, text)) << text;
        EXPECT_EQ(Label(full, text)->GetSize().x, 100) << text;
    }
    ASSERT_TRUE(Label(full, wxS("No proxy for addresses containing:")));
    ASSERT_TRUE(Label(full, wxS("Separate addresses with commas.")));
    for (wxTextCtrl* field :
         {full->Host(), full->Port(), full->User(), full->Password(), full->Exceptions()})
        EXPECT_EQ(field->GetSize().x, 180);
    EXPECT_TRUE(full->Password()->HasFlag(wxTE_PASSWORD));
    EXPECT_EQ(full->Auth()->GetId(), 1);
    EXPECT_EQ(full->Auth()->GetLabel(), wxS("Proxy Server Requires Authentication"));
    EXPECT_FALSE(full->User()->IsEnabled());
    EXPECT_FALSE(full->Password()->IsEnabled());
    const std::vector<wxButton*> buttons = All<wxButton>(full);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0]->GetId(), wxID_OK);
    EXPECT_EQ(buttons[0]->GetLabel(), wxS("&OK"));
    EXPECT_EQ(buttons[1]->GetId(), wxID_CANCEL);
    EXPECT_EQ(buttons[1]->GetLabel(), wxS("&Cancel"));
    EXPECT_GT(buttons[1]->GetPosition().x, buttons[0]->GetPosition().x + buttons[0]->GetSize().x);

    full->SetHostExceptionsDesc(wxS("Go straight to these hosts, whatever the proxy is set to:"));
    full->SetHostExceptionsNote(wxS("Commas, please."));
    EXPECT_TRUE(Label(full, wxS("Commas, please.")));
    wxStaticText* desc =
        Label(full, wxS("Go straight to these hosts, whatever the proxy is set to:"));
    ASSERT_TRUE(desc);
    EXPECT_GE(desc->GetSize().x, desc->GetBestSize().x) << "the longer text is cut";

    auto* bare = Keep(new ProxyDlg(nullptr, wxID_ANY, wxS("Proxy"), wxString(), false));
    EXPECT_EQ(All<wxStaticBox>(bare).size(), 2u);
    EXPECT_EQ(All<wxStaticText>(bare).size(), 4u) << "no message, no exception texts";
    EXPECT_EQ(bare->Exceptions(), nullptr);
    bare->SetHostExceptions(wxS("a,b"));
    bare->SetHostExceptionsDesc(wxS("ignored"));
    bare->SetHostExceptionsNote(wxS("ignored"));
    EXPECT_TRUE(bare->GetHostExceptions().empty());
    wxProxySettings settings;
    settings.m_exceptions = wxS("localhost");
    bare->SetProxySettings(settings);
    EXPECT_TRUE(bare->GetProxySettings().m_exceptions.empty());
}

// A record shown, edited by the user through clicks and typing, and read back.
TEST_F(kxHttpDialogs, ProxyDialogEditedByTheUser)
{
    auto* dialog = Keep(new ProxyDlg(nullptr, wxID_ANY, wxS("Proxy"), wxString(), true));
    ASSERT_TRUE(kxTestShow(dialog));
    EXPECT_TRUE(dialog->Port()->IsEmpty()) << "the fields are filled by SetProxySettings alone";
    EXPECT_FALSE(dialog->GetProxySettings().m_useProxy);

    wxProxySettings given;
    given.m_port = 3128;
    given.m_exceptions = wxS("intranet");
    given.m_exceptionsDelimiter = wxS(";");
    given.m_userName = wxS("ann");
    dialog->SetProxySettings(given);
    EXPECT_EQ(dialog->Port()->GetValue(), wxS("3128"));
    EXPECT_EQ(dialog->Exceptions()->GetValue(), wxS("intranet"));
    EXPECT_EQ(dialog->GetUsername(), wxS("ann"));
    EXPECT_FALSE(dialog->User()->IsEnabled());

    Type(dialog->Host(), wxS("proxy.example.org"));
    Type(dialog->Port(), wxS("0"));
    Type(dialog->Exceptions(), wxS(";localhost"));
    kxTestClick(dialog->Auth());
    ASSERT_TRUE(kxTestWaitFor([&] { return dialog->User()->IsEnabled(); }, 2000));
    EXPECT_TRUE(dialog->Password()->IsEnabled());
    EXPECT_TRUE(dialog->IsAuthProxy());
    Type(dialog->User(), wxS("e"));
    Type(dialog->Password(), wxS("s3cret"));

    const wxProxySettings got = dialog->GetProxySettings();
    EXPECT_EQ(got.m_hostName, wxS("proxy.example.org"));
    EXPECT_EQ(got.m_port, 31280);
    EXPECT_EQ(got.m_exceptions, wxS("intranet;localhost"));
    EXPECT_EQ(got.m_exceptionsDelimiter, wxS(";")) << "fields the dialog does not show stay";
    EXPECT_EQ(got.m_userName, wxS("anne"));
    EXPECT_EQ(got.m_password, wxS("s3cret"));
    EXPECT_TRUE(got.m_requiresAuth);
    EXPECT_TRUE(got.m_useProxy);

    kxTestClick(dialog->Auth());
    ASSERT_TRUE(kxTestWaitFor([&] { return !dialog->User()->IsEnabled(); }, 2000));
    EXPECT_FALSE(dialog->Password()->IsEnabled());
    dialog->SetAuthProxy(true);
    EXPECT_TRUE(dialog->User()->IsEnabled());

    dialog->SetHost(wxString());
    dialog->Port()->ChangeValue(wxS("http"));
    EXPECT_FALSE(dialog->GetProxySettings().m_useProxy);
    EXPECT_EQ(dialog->GetPortNumber(), 0);
    dialog->SetPortNumber(-1);
    EXPECT_EQ(dialog->Port()->GetValue(), wxS("-1"));
}
