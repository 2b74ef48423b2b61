// The proxy settings dialog: its layout, and the record it edits.
#include "kxRuzoVori/http/wxProxySettingsDlg.h"

#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/http/private/kxHTTPDialogLayout.h"

#include <wx/sizer.h>
#include <wx/statbox.h>

using namespace kxHTTPDialogLayout;

namespace
{
// The window id of the authentication check box.
const int kRequiresAuthId = 1;

wxStaticBoxSizer* AddGroup(wxWindow* dialog, wxSizer* sizer, const wxString& caption)
{
    auto* group = new wxStaticBoxSizer(wxVERTICAL, dialog, caption);
    sizer->Add(group, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, kBorder);
    return group;
}
} // namespace

wxProxySettingsDlg::wxProxySettingsDlg(wxWindow* parent, int id, const wxString& title,
                                       const wxString& message, bool showExceptions)
    : wxDialog(parent, id, title)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    if (!message.empty())
        sizer->Add(new wxStaticText(this, wxID_ANY, message), 0,
                   wxEXPAND | wxLEFT | wxRIGHT | wxTOP, kBorder);

    wxStaticBoxSizer* server = AddGroup(this, sizer, kxTranslate(wxS("Server Settings")));
    wxWindow* box = server->GetStaticBox();
    m_host = NewField(box);
    m_port = NewField(box);
    server->Add(NewRow(box, kxTranslate(wxS("Host:")), m_host), 0, wxALL, kGroupPadding);
    server->Add(NewRow(box, kxTranslate(wxS("Port:")), m_port), 0, wxALL, kGroupPadding);

    wxStaticBoxSizer* auth = AddGroup(this, sizer, kxTranslate(wxS("Authentication")));
    box = auth->GetStaticBox();
    m_requiresAuth = new wxCheckBox(box, kRequiresAuthId,
                                    kxTranslate(wxS("Proxy Server Requires Authentication")));
    m_userName = NewField(box);
    m_password = NewField(box, wxTE_PASSWORD);
    auth->Add(m_requiresAuth, 0, wxALL, kGroupPadding);
    auth->Add(NewRow(box, kxTranslate(wxS("Username:")), m_userName), 0, wxALL, kGroupPadding);
    auth->Add(NewRow(box, kxTranslate(wxS("Password:")), m_password), 0, wxALL, kGroupPadding);
    PrivateEnableCredentials(false);

    if (showExceptions)
    {
        wxStaticBoxSizer* exceptions = AddGroup(this, sizer, kxTranslate(wxS("Exceptions")));
        box = exceptions->GetStaticBox();
        m_exceptionsDesc =
            new wxStaticText(box, wxID_ANY, kxTranslate(wxS("No proxy for addresses containing:")));
        m_exceptions = NewField(box);
        m_exceptionsNote =
            new wxStaticText(box, wxID_ANY, kxTranslate(wxS("Separate addresses with commas.")));
        exceptions->Add(m_exceptionsDesc, 0, wxALL, kGroupPadding);
        exceptions->Add(m_exceptions, 0, wxALL, kGroupPadding);
        exceptions->Add(m_exceptionsNote, 0, wxALL, kGroupPadding);
    }

    AddButtons(this, sizer);
    SetSizerAndFit(sizer);
    Centre(wxBOTH);
}

void wxProxySettingsDlg::SetProxySettings(const wxProxySettings& settings)
{
    m_settings = settings;
    SetPortNumber(settings.m_port);
    SetHostExceptions(settings.m_exceptions);
    SetHost(settings.m_hostName);
    SetUsername(settings.m_userName);
    SetPassword(settings.m_password);
    SetAuthProxy(settings.m_requiresAuth);
}

wxProxySettings wxProxySettingsDlg::GetProxySettings()
{
    m_settings.m_port = GetPortNumber();
    m_settings.m_exceptions = GetHostExceptions();
    m_settings.m_hostName = GetHost();
    m_settings.m_userName = GetUsername();
    m_settings.m_password = GetPassword();
    m_settings.m_requiresAuth = IsAuthProxy();
    m_settings.SetUseProxy(!m_settings.m_hostName.empty());
    return m_settings;
}

void wxProxySettingsDlg::SetHost(wxString host)
{
    m_host->SetValue(host);
}

wxString wxProxySettingsDlg::GetHost() const
{
    return m_host->GetValue();
}

void wxProxySettingsDlg::SetPortNumber(long port)
{
    m_port->SetValue(wxString::Format(wxS("%ld"), port));
}

long wxProxySettingsDlg::GetPortNumber() const
{
    long port = 0;
    m_port->GetValue().ToLong(&port);
    return port;
}

void wxProxySettingsDlg::SetUsername(wxString userName)
{
    m_userName->SetValue(userName);
}

wxString wxProxySettingsDlg::GetUsername() const
{
    return m_userName->GetValue();
}

void wxProxySettingsDlg::SetPassword(wxString password)
{
    m_password->SetValue(password);
}

wxString wxProxySettingsDlg::GetPassword() const
{
    return m_password->GetValue();
}

void wxProxySettingsDlg::SetHostExceptions(wxString exceptions)
{
    if (m_exceptions)
        m_exceptions->SetValue(exceptions);
}

wxString wxProxySettingsDlg::GetHostExceptions() const
{
    return m_exceptions ? m_exceptions->GetValue() : wxString();
}

void wxProxySettingsDlg::SetHostExceptionsDesc(const wxString& text)
{
    PrivateRelabel(m_exceptionsDesc, text);
}

void wxProxySettingsDlg::SetHostExceptionsNote(const wxString& text)
{
    PrivateRelabel(m_exceptionsNote, text);
}

void wxProxySettingsDlg::SetAuthProxy(bool requiresAuth)
{
    m_requiresAuth->SetValue(requiresAuth);
    PrivateEnableCredentials(requiresAuth);
}

bool wxProxySettingsDlg::IsAuthProxy() const
{
    return m_requiresAuth->GetValue();
}

void wxProxySettingsDlg::OnRequiresAuthentication(wxCommandEvent& event)
{
    PrivateEnableCredentials(event.IsChecked());
}

void wxProxySettingsDlg::PrivateEnableCredentials(bool enable)
{
    m_userName->Enable(enable);
    m_password->Enable(enable);
}

void wxProxySettingsDlg::PrivateRelabel(wxStaticText* label, const wxString& text)
{
    if (!label)
        return;
    label->SetLabel(text);
    GetSizer()->SetSizeHints(this);
}

// clang-format off
wxBEGIN_EVENT_TABLE(wxProxySettingsDlg, wxDialog)
    EVT_CHECKBOX(wxID_ANY, wxProxySettingsDlg::OnRequiresAuthentication)
wxEND_EVENT_TABLE()
    // clang-format on
