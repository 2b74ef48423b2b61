// Pictures of the proxy and log-in dialogs, with their optional parts (proxy-dialog.png,
// login-dialog.png) and without them (proxy-dialog-short.png, login-dialog-short.png).
#include "support/kxScreenshot.h"

#include <kxRuzoVori/kxRuzoVori.h>

namespace
{
// Shows a dialog modelessly, as ShowModal would show it, and saves it.
bool Save(wxDialog& dialog, const wxString& folder, const wxString& name)
{
    if (!kxShotShow(&dialog))
        return false;
    // The field that has the focus shows its caret rather than all of its text selected.
    if (auto* field = dynamic_cast<wxTextCtrl*>(wxWindow::FindFocus()))
        field->SetInsertionPointEnd();
    const bool saved = kxShotSave(&dialog, folder, name);
    dialog.Hide();
    kxShotPump(50);
    return saved;
}

bool Shoot(const wxString& folder)
{
    wxProxySettings proxy;
    proxy.m_hostName = wxS("proxy.example.org");
    proxy.m_port = 3128;
    proxy.m_requiresAuth = true;
    proxy.m_userName = wxS("ada");
    proxy.m_password = wxS("secret");
    proxy.m_exceptions = wxS("localhost, intranet");

    wxProxySettingsDlg full(nullptr, wxID_ANY, wxS("Proxy"),
                            wxS("Ask your administrator for these settings."), true);
    full.SetProxySettings(proxy);
    wxProxySettingsDlg shortened(nullptr, wxID_ANY, wxS("Proxy"), wxString(), false);
    proxy.m_requiresAuth = false;
    shortened.SetProxySettings(proxy);

    wxHTTPAuthSettings login;
    login.m_userName = wxS("ada");
    login.m_password = wxS("secret");
    login.m_rememberPassword = true;
    wxAuthenticateDlg remember(nullptr, wxID_ANY, wxS("Log in"),
                               wxS("The server example.org asks for a user name and password."),
                               true);
    remember.SetAuthSettings(login);
    wxAuthenticateDlg plain(nullptr, wxID_ANY, wxS("Log in"), wxString(), false);
    plain.SetAuthSettings(login);

    const bool saved = Save(full, folder, wxS("proxy-dialog")) &&
                       Save(shortened, folder, wxS("proxy-dialog-short")) &&
                       Save(remember, folder, wxS("login-dialog")) &&
                       Save(plain, folder, wxS("login-dialog-short"));
    return saved;
}
} // namespace

int main(int argc, char** argv)
{
    return kxShotMain(argc, argv, Shoot);
}
