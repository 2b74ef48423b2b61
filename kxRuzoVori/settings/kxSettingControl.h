#ifndef KXRUZOVORI_SETTINGS_KXSETTINGCONTROL_H
#define KXRUZOVORI_SETTINGS_KXSETTINGCONTROL_H

#include "kxRuzoVori/core/kxSettingControlException.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/event.h>
#include <wx/weakref.h>
#include <wx/window.h>

class kxSettings;
class kxSettingsSet;

/// Binds one control of a settings page to one setting: once bound, the control shows the stored
/// value, and every change the user makes goes into the store at once (without announcement, so a
/// frozen store keeps its value) and on to the other views the registry holds for that setting.
/// Check boxes carry the flag, edit boxes the text and combo boxes the entry number, each read and
/// written through the store's conversions; controls of any other class are left alone.
///
/// Binding does not register the control with the registry: only controls added there with
/// AddCheckBox, AddEditBox or AddComboBox follow changes made elsewhere. A binding stays connected
/// to its control until it is destroyed or bound again, whichever comes first.
class KX_API kxSettingControl : public wxEvtHandler
{
public:
    /// Unbound: no store, registry or control, both ids -1.
    kxSettingControl();
    /// Binds at once; throws as Assign does.
    kxSettingControl(kxSettings* settings, kxSettingsSet* settingsSet, long group, long item,
                     wxWindow* control);
    kxSettingControl(const kxSettingControl&) = delete;
    kxSettingControl& operator=(const kxSettingControl&) = delete;
    /// Lets go of the control, which stays the host's.
    ~kxSettingControl() override;

    /// Binds (or rebinds) this object. Throws kxSettingControlException when settings is null and
    /// the store's kxSettingsException when the setting does not exist; the settingsSet may be
    /// null. Returns true once bound.
    bool Assign(kxSettings* settings, kxSettingsSet* settingsSet, long group, long item,
                wxWindow* control);
    /// The binding step of Assign(), with the same failures.
    bool PrivateAssignSetting(kxSettings* settings, kxSettingsSet* settingsSet, long group,
                              long item, wxWindow* control);

    /// The user changed the control: store the new value, bring the other views up to date and
    /// let the event go on to the control's other handlers.
    ///@{
    void PrivateOnCheckBox(wxCommandEvent& event);
    void PrivateOnTextBox(wxCommandEvent& event);
    void PrivateOnComboBox(wxCommandEvent& event);
    ///@}

private:
    void PrivateDisconnect();

    kxSettings* m_settings;
    kxSettingsSet* m_settingsSet;
    long m_groupId;
    long m_itemId;
    // Weak, so that a binding outliving its control (or rebound after the control died) never
    // reaches into a destroyed window.
    wxWeakRef<wxWindow> m_control;
};

#endif
