// The binding of a settings page's control to one setting, and its handlers of the user's changes.
#include "kxRuzoVori/settings/kxSettingControl.h"

#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/settings/kxSettings.h"
#include "kxRuzoVori/settings/kxSettingsSet.h"
#include "kxRuzoVori/settings/private/kxComboEntry.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/textctrl.h>

kxSettingControl::kxSettingControl()
    : m_settings(nullptr), m_settingsSet(nullptr), m_groupId(-1), m_itemId(-1)
{
}

kxSettingControl::kxSettingControl(kxSettings* settings, kxSettingsSet* settingsSet, long group,
                                   long item, wxWindow* control)
    : kxSettingControl()
{
    PrivateAssignSetting(settings, settingsSet, group, item, control);
}

kxSettingControl::~kxSettingControl()
{
    PrivateDisconnect();
}

bool kxSettingControl::Assign(kxSettings* settings, kxSettingsSet* settingsSet, long group,
                              long item, wxWindow* control)
{
    return PrivateAssignSetting(settings, settingsSet, group, item, control);
}

// A control sends its events to one binding only: the one it was bound with last.
void kxSettingControl::PrivateDisconnect()
{
    wxWindow* control = m_control.get();
    if (control == nullptr)
        return;
    const int id = control->GetId();
    control->Unbind(wxEVT_CHECKBOX, &kxSettingControl::PrivateOnCheckBox, this, id);
    control->Unbind(wxEVT_TEXT, &kxSettingControl::PrivateOnTextBox, this, id);
    control->Unbind(wxEVT_COMBOBOX, &kxSettingControl::PrivateOnComboBox, this, id);
}

bool kxSettingControl::PrivateAssignSetting(kxSettings* settings, kxSettingsSet* settingsSet,
                                            long group, long item, wxWindow* control)
{
    PrivateDisconnect();
    m_settings = settings;
    m_settingsSet = settingsSet;
    m_groupId = group;
    m_itemId = item;
    m_control = control;
    if (settings == nullptr)
        throw kxSettingControlException(kxTranslate(wxS("Internal error. Null settings object")),
                                        kxTranslate(wxS("Setting's control exception")));

    // The language's own cast: the toolkit's wxDynamicCast casts statically first, which is
    // undefined for a control of another class.
    if (wxCheckBox* box = dynamic_cast<wxCheckBox*>(control))
    {
        box->Bind(wxEVT_CHECKBOX, &kxSettingControl::PrivateOnCheckBox, this, box->GetId());
        bool value = false;
        settings->GetValue(group, item, value);
        box->SetValue(value);
        if (settingsSet != nullptr)
            settingsSet->UpdateCheckBox(group, item, box);
    }
    else if (wxTextCtrl* edit = dynamic_cast<wxTextCtrl*>(control))
    {
        edit->Bind(wxEVT_TEXT, &kxSettingControl::PrivateOnTextBox, this, edit->GetId());
        wxString value;
        settings->GetValue(group, item, value);
        // Showing the stored text is no change by the user: nothing is announced for it.
        edit->ChangeValue(value);
        if (settingsSet != nullptr)
            settingsSet->UpdateEditBox(group, item, edit);
    }
    else if (wxComboBox* combo = dynamic_cast<wxComboBox*>(control))
    {
        combo->Bind(wxEVT_COMBOBOX, &kxSettingControl::PrivateOnComboBox, this, combo->GetId());
        long value = 0;
        settings->GetValue(group, item, value);
        kxSelectComboEntry(combo, value);
        if (settingsSet != nullptr)
            settingsSet->UpdateComboBox(group, item, combo);
    }
    return true;
}

void kxSettingControl::PrivateOnCheckBox(wxCommandEvent& event)
{
    wxCheckBox* box = dynamic_cast<wxCheckBox*>(m_control.get());
    if (box != nullptr && m_settings != nullptr)
    {
        m_settings->SetValue(m_groupId, m_itemId, box->GetValue(), false);
        if (m_settingsSet != nullptr)
            m_settingsSet->UpdateCheckBox(m_groupId, m_itemId, box);
    }
    event.Skip();
}

void kxSettingControl::PrivateOnTextBox(wxCommandEvent& event)
{
    wxTextCtrl* edit = dynamic_cast<wxTextCtrl*>(m_control.get());
    if (edit != nullptr && m_settings != nullptr)
    {
        m_settings->SetValue(m_groupId, m_itemId, edit->GetValue(), false);
        if (m_settingsSet != nullptr)
            m_settingsSet->UpdateEditBox(m_groupId, m_itemId, edit);
    }
    event.Skip();
}

void kxSettingControl::PrivateOnComboBox(wxCommandEvent& event)
{
    wxComboBox* combo = dynamic_cast<wxComboBox*>(m_control.get());
    if (combo != nullptr && m_settings != nullptr)
    {
        m_settings->SetValue(m_groupId, m_itemId, static_cast<long>(combo->GetSelection()), false);
        if (m_settingsSet != nullptr)
            m_settingsSet->UpdateComboBox(m_groupId, m_itemId, combo);
    }
    event.Skip();
}
