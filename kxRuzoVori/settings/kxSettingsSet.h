#ifndef KXRUZOVORI_SETTINGS_KXSETTINGSSET_H
#define KXRUZOVORI_SETTINGS_KXSETTINGSSET_H

#include "kxRuzoVori/kxExport.h"

#include <wx/event.h>
#include <wx/object.h>
#include <wx/string.h>
#include <wx/thread.h>

#include <map>
#include <vector>

class WXDLLIMPEXP_FWD_CORE wxCheckBox;
class WXDLLIMPEXP_FWD_CORE wxComboBox;
class WXDLLIMPEXP_FWD_CORE wxTextCtrl;

/// A handler called with a fresh command event (id 0) when a setting's value is announced.
typedef void (wxObject::*kxSettingsEventMethod)(wxEvent&);

/// The view registry: remembers which check boxes, edit boxes, combo boxes and event handlers show
/// each setting, so that a value changed in one place reaches all of them. It owns none of them.
/// Every operation holds one recursive lock, so a handler may call back into the registry.
class KX_API kxSettingsSet : public wxObject
{
public:
    /// An empty registry.
    kxSettingsSet();
    kxSettingsSet(const kxSettingsSet&) = delete;
    kxSettingsSet& operator=(const kxSettingsSet&) = delete;
    /// Forgets every binding; the controls and handlers are the host's.
    ~kxSettingsSet() override;

    /// Calls method on handler whenever the item's value is announced; always true. Never throws.
    bool AddHandler(long group, long item, kxSettingsEventMethod method, wxEvtHandler* handler);
    /// Undoes one registration of exactly (method, handler); false only when the item was never
    /// bound.
    bool RemoveHandler(long group, long item, kxSettingsEventMethod method, wxEvtHandler* handler);

    ///@{
    /// Binds the control to the item, so that announced values show in it; always true. A host
    /// removes a control before destroying it.
    bool AddEditBox(long group, long item, wxTextCtrl* control);
    bool AddCheckBox(long group, long item, wxCheckBox* control);
    bool AddComboBox(long group, long item, wxComboBox* control);
    ///@}
    ///@{
    /// Each removes the first occurrence of the control; false when it is not bound to the item.
    bool RemoveEditBox(long group, long item, wxTextCtrl* control);
    bool RemoveCheckBox(long group, long item, wxCheckBox* control);
    bool RemoveComboBox(long group, long item, wxComboBox* control);
    ///@}

    /// Show value in every bound control of its kind; the flag and the selection also call the
    /// item's handlers. False when the item was never bound. A text control is changed only when
    /// its text differs, and without a text event of its own.
    ///@{
    bool UpdateSetting(long group, long item, bool value);
    bool UpdateSetting(long group, long item, long value);
    bool UpdateSetting(long group, long item, const wxString& value);
    ///@}

    /// Copy the source control's value into every other bound control of its kind; the check box
    /// and combo box forms also call the item's handlers. False when the item was never bound.
    ///@{
    bool UpdateCheckBox(long group, long item, wxCheckBox* source);
    bool UpdateComboBox(long group, long item, wxComboBox* source);
    bool UpdateEditBox(long group, long item, wxTextCtrl* source);
    ///@}

    /// Makes room for the group's bindings; always true.
    bool PrivateAddGroupIfNotExists(long group);
    /// Makes room for the item's bindings; always true.
    bool PrivateAddItemIfNotExists(long group, long item);

private:
    struct Binding
    {
        std::vector<wxEvtHandler*> m_handlers;
        std::vector<kxSettingsEventMethod> m_methods;
        std::vector<wxCheckBox*> m_checkBoxes;
        std::vector<wxTextCtrl*> m_editBoxes;
        std::vector<wxComboBox*> m_comboBoxes;
    };

    /// Marks an update under way: while one is, removals leave a vacant place instead of moving
    /// the later entries, so every remaining entry is reached exactly once.
    class WalkScope;

    Binding* PrivateFindBinding(long group, long item);
    Binding& PrivateGetBinding(long group, long item);
    std::vector<wxCheckBox*>* PrivateCheckBoxes(long group, long item);
    std::vector<wxTextCtrl*>* PrivateEditBoxes(long group, long item);
    std::vector<wxComboBox*>* PrivateComboBoxes(long group, long item);
    void PrivateCallHandlers(long group, long item, wxEventType type);

    wxCriticalSection m_lock;
    std::map<long, std::map<long, Binding>> m_bindings;
    int m_walks = 0;
    bool m_vacated = false;
};

#endif
