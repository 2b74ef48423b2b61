// The log-in dialog: its layout, and the record it edits.
#include "kxRuzoVori/http/wxAuthenticateDlg.h"

#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/http/private/kxHTTPDialogLayout.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

using namespace kxHTTPDialogLayout;

wxAuthenticateDlg::wxAuthenticateDlg(wxWindow* parent, int id, const wxString& title,
                                     const wxString& message, const bool& showRemember)
    : wxDialog(parent, id, title)
{
    m_settings.SetBasicAuth();

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    if (!message.empty())
        sizer->Add(new wxStaticText(this, wxID_ANY, message), 0,
                   wxEXPAND | wxLEFT | wxRIGHT | wxTOP, kBorder);
    sizer->AddSpacer(kBorder);
    m_userName = NewField(this);
    m_password = NewField(this, wxTE_PASSWORD);
    sizer->Add(NewRow(this, kxTranslate(wxS("Username:")), m_userName), 0, wxLEFT | wxRIGHT | wxTOP,
               kBorder);
    sizer->Add(NewRow(this, kxTranslate(wxS("Password:")), m_password), 0, wxLEFT | wxRIGHT | wxTOP,
               kBorder);
    if (showRemember)
    {
        m_remember = new wxCheckBox(this, wxID_ANY, kxTranslate(wxS("Remember password")));
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        // Under the fields, not under their labels.
        row->AddSpacer(kLabelWidth);
        row->Add(m_remember);
        sizer->Add(row, 0, wxLEFT | wxRIGHT | wxTOP, kBorder);
    }
    sizer->AddSpacer(kBorder);
    AddButtons(this, sizer);
    SetSizerAndFit(sizer);
    Centre(wxBOTH);
}

void wxAuthenticateDlg::SetAuthSettings(const wxHTTPAuthSettings& settings)
{
    m_settings = settings;
    SetRememberPassword(settings.m_rememberPassword);
    SetUsername(settings.m_userName);
    SetPassword(settings.m_password);
}

wxHTTPAuthSettings wxAuthenticateDlg::GetAuthSettings()
{
    m_settings.m_rememberPassword = GetRememberPassword();
    m_settings.m_userName = GetUsername();
    m_settings.m_password = GetPassword();
    if (!m_settings.m_userName.empty())
        m_settings.SetBasicAuth();
    return m_settings;
}

void wxAuthenticateDlg::SetUsername(wxString userName)
{
    m_userName->SetValue(userName);
}

wxString wxAuthenticateDlg::GetUsername() const
{
    return m_userName->GetValue();
}

void wxAuthenticateDlg::SetPassword(wxString password)
{
    m_password->SetValue(password);
}

wxString wxAuthenticateDlg::GetPassword() const
{
    return m_password->GetValue();
}

void wxAuthenticateDlg::SetRememberPassword(const bool& remember)
{
    if (m_remember)
        m_remember->SetValue(remember);
}

bool wxAuthenticateDlg::GetRememberPassword() const
{
    return m_remember && m_remember->GetValue();
}
