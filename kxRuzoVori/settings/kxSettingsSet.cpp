// The view registry that keeps every control showing a setting up to date.
#include "kxRuzoVori/settings/kxSettingsSet.h"

#include "kxRuzoVori/settings/private/kxComboEntry.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/textctrl.h>

#include <algorithm>

namespace
{
template <typename T> bool RemoveFirst(std::vector<T*>& controls, T* control, bool vacate)
{
    const auto found = std::find(controls.begin(), controls.end(), control);
    if (found == controls.end() || control == nullptr)
        return false;
    if (vacate)
        *found = nullptr;
    else
        controls.erase(found);
    return true;
}

template <typename T> void Compact(std::vector<T>& entries)
{
    entries.erase(std::remove(entries.begin(), entries.end(), nullptr), entries.end());
}

// A handler is only called with its method: a pair is kept or dropped whole.
void CompactPairs(std::vector<wxEvtHandler*>& handlers, std::vector<kxSettingsEventMethod>& methods)
{
    size_t kept = 0;
    for (size_t i = 0; i < handlers.size() && i < methods.size(); ++i)
    {
        if (handlers[i] != nullptr && methods[i] != nullptr)
        {
            handlers[kept] = handlers[i];
            methods[kept] = methods[i];
            ++kept;
        }
    }
    handlers.resize(kept);
    methods.resize(kept);
}

// Controls may be added or removed by the events their updates raise: the walk goes by index over
// the live sequence (map nodes never move, and removals leave vacant places while a walk is under
// way), so it never touches a freed element and reaches each remaining control once.
template <typename T, typename Fetch, typename Act> void WalkLive(Fetch fetch, Act act)
{
    for (size_t i = 0;; ++i)
    {
        std::vector<T*>* controls = fetch();
        if (controls == nullptr || i >= controls->size())
            break;
        if ((*controls)[i] != nullptr)
            act((*controls)[i]);
    }
}

} // namespace

class kxSettingsSet::WalkScope
{
public:
    explicit WalkScope(kxSettingsSet& registry) : m_registry(registry) { ++m_registry.m_walks; }
    WalkScope(const WalkScope&) = delete;
    WalkScope& operator=(const WalkScope&) = delete;
    ~WalkScope()
    {
        if (--m_registry.m_walks > 0 || !m_registry.m_vacated)
            return;
        m_registry.m_vacated = false;
        for (auto& [group, items] : m_registry.m_bindings)
        {
            for (auto& [item, binding] : items)
            {
                CompactPairs(binding.m_handlers, binding.m_methods);
                Compact(binding.m_checkBoxes);
                Compact(binding.m_editBoxes);
                Compact(binding.m_comboBoxes);
            }
        }
    }

private:
    kxSettingsSet& m_registry;
};

kxSettingsSet::kxSettingsSet() {}

kxSettingsSet::~kxSettingsSet() {}

kxSettingsSet::Binding* kxSettingsSet::PrivateFindBinding(long group, long item)
{
    const auto groupIt = m_bindings.find(group);
    if (groupIt == m_bindings.end())
        return nullptr;
    const auto itemIt = groupIt->second.find(item);
    return itemIt == groupIt->second.end() ? nullptr : &itemIt->second;
}

std::vector<wxCheckBox*>* kxSettingsSet::PrivateCheckBoxes(long group, long item)
{
    Binding* binding = PrivateFindBinding(group, item);
    return binding == nullptr ? nullptr : &binding->m_checkBoxes;
}

std::vector<wxTextCtrl*>* kxSettingsSet::PrivateEditBoxes(long group, long item)
{
    Binding* binding = PrivateFindBinding(group, item);
    return binding == nullptr ? nullptr : &binding->m_editBoxes;
}

std::vector<wxComboBox*>* kxSettingsSet::PrivateComboBoxes(long group, long item)
{
    Binding* binding = PrivateFindBinding(group, item);
    return binding == nullptr ? nullptr : &binding->m_comboBoxes;
}

kxSettingsSet::Binding& kxSettingsSet::PrivateGetBinding(long group, long item)
{
    PrivateAddItemIfNotExists(group, item);
    return m_bindings[group][item];
}

bool kxSettingsSet::PrivateAddGroupIfNotExists(long group)
{
    wxCriticalSectionLocker lock(m_lock);
    m_bindings.emplace(group, std::map<long, Binding>());
    return true;
}

bool kxSettingsSet::PrivateAddItemIfNotExists(long group, long item)
{
    wxCriticalSectionLocker lock(m_lock);
    PrivateAddGroupIfNotExists(group);
    m_bindings[group].emplace(item, Binding());
    return true;
}

// Handlers may add or remove registrations while they run, so the walk is by index as above.
void kxSettingsSet::PrivateCallHandlers(long group, long item, wxEventType type)
{
    wxCommandEvent event(type, 0);
    for (size_t i = 0;; ++i)
    {
        Binding* binding = PrivateFindBinding(group, item);
        if (binding == nullptr || i >= binding->m_handlers.size() || i >= binding->m_methods.size())
            break;
        wxObject* handler = binding->m_handlers[i];
        const kxSettingsEventMethod method = binding->m_methods[i];
        if (handler != nullptr && method != nullptr)
            (handler->*method)(event);
    }
}

bool kxSettingsSet::AddHandler(long group, long item, kxSettingsEventMethod method,
                               wxEvtHandler* handler)
{
    wxCriticalSectionLocker lock(m_lock);
    Binding& binding = PrivateGetBinding(group, item);
    binding.m_methods.push_back(method);
    binding.m_handlers.push_back(handler);
    return true;
}

// Removing the pair rather than searching the two sequences apart keeps every remaining method
// with the object it was registered for.
bool kxSettingsSet::RemoveHandler(long group, long item, kxSettingsEventMethod method,
                                  wxEvtHandler* handler)
{
    wxCriticalSectionLocker lock(m_lock);
    Binding* binding = PrivateFindBinding(group, item);
    if (binding == nullptr)
        return false;
    for (size_t i = 0; i < binding->m_handlers.size() && i < binding->m_methods.size(); ++i)
    {
        if (binding->m_handlers[i] == handler && binding->m_methods[i] == method &&
            handler != nullptr)
        {
            if (m_walks > 0)
            {
                binding->m_handlers[i] = nullptr;
                binding->m_methods[i] = nullptr;
                m_vacated = true;
            }
            else
            {
                binding->m_handlers.erase(binding->m_handlers.begin() + i);
                binding->m_methods.erase(binding->m_methods.begin() + i);
            }
            break;
        }
    }
    return true;
}

bool kxSettingsSet::AddEditBox(long group, long item, wxTextCtrl* control)
{
    wxCriticalSectionLocker lock(m_lock);
    PrivateGetBinding(group, item).m_editBoxes.push_back(control);
    return true;
}

bool kxSettingsSet::AddCheckBox(long group, long item, wxCheckBox* control)
{
    wxCriticalSectionLocker lock(m_lock);
    PrivateGetBinding(group, item).m_checkBoxes.push_back(control);
    return true;
}

bool kxSettingsSet::AddComboBox(long group, long item, wxComboBox* control)
{
    wxCriticalSectionLocker lock(m_lock);
    PrivateGetBinding(group, item).m_comboBoxes.push_back(control);
    return true;
}

bool kxSettingsSet::RemoveEditBox(long group, long item, wxTextCtrl* control)
{
    wxCriticalSectionLocker lock(m_lock);
    Binding* binding = PrivateFindBinding(group, item);
    if (binding == nullptr || !RemoveFirst(binding->m_editBoxes, control, m_walks > 0))
        return false;
    m_vacated = m_vacated || m_walks > 0;
    return true;
}

bool kxSettingsSet::RemoveCheckBox(long group, long item, wxCheckBox* control)
{
    wxCriticalSectionLocker lock(m_lock);
    Binding* binding = PrivateFindBinding(group, item);
    if (binding == nullptr || !RemoveFirst(binding->m_checkBoxes, control, m_walks > 0))
        return false;
    m_vacated = m_vacated || m_walks > 0;
    return true;
}

bool kxSettingsSet::RemoveComboBox(long group, long item, wxComboBox* control)
{
    wxCriticalSectionLocker lock(m_lock);
    Binding* binding = PrivateFindBinding(group, item);
    if (binding == nullptr || !RemoveFirst(binding->m_comboBoxes, control, m_walks > 0))
        return false;
    m_vacated = m_vacated || m_walks > 0;
    return true;
}

bool kxSettingsSet::UpdateSetting(long group, long item, bool value)
{
    wxCriticalSectionLocker lock(m_lock);
    Binding* binding = PrivateFindBinding(group, item);
    if (binding == nullptr)
        return false;
    WalkScope walk(*this);
    WalkLive<wxCheckBox>([&] { return PrivateCheckBoxes(group, item); },
                         [&](wxCheckBox* box) { box->SetValue(value); });
    PrivateCallHandlers(group, item, wxEVT_COMMAND_CHECKBOX_CLICKED);
    return true;
}

bool kxSettingsSet::UpdateSetting(long group, long item, long value)
{
    wxCriticalSectionLocker lock(m_lock);
    Binding* binding = PrivateFindBinding(group, item);
    if (binding == nullptr)
        return false;
    WalkScope walk(*this);
    WalkLive<wxComboBox>([&] { return PrivateComboBoxes(group, item); },
                         [&](wxComboBox* box) { kxSelectComboEntry(box, value); });
    PrivateCallHandlers(group, item, wxEVT_COMMAND_COMBOBOX_SELECTED);
    return true;
}

// Edit boxes take a text only where it differs, and without the change notification a text
// control sends for every text it is given: a box bound to the same setting (which mirrors its
// own changes here) therefore never answers back, and mirroring cannot go round in circles.
bool kxSettingsSet::UpdateSetting(long group, long item, const wxString& value)
{
    wxCriticalSectionLocker lock(m_lock);
    Binding* binding = PrivateFindBinding(group, item);
    if (binding == nullptr)
        return false;
    WalkScope walk(*this);
    WalkLive<wxTextCtrl>([&] { return PrivateEditBoxes(group, item); },
                         [&](wxTextCtrl* box)
                         {
                             if (box->GetValue() != value)
                                 box->ChangeValue(value);
                         });
    return true;
}

bool kxSettingsSet::UpdateCheckBox(long group, long item, wxCheckBox* source)
{
    wxCriticalSectionLocker lock(m_lock);
    Binding* binding = PrivateFindBinding(group, item);
    if (binding == nullptr)
        return false;
    WalkScope walk(*this);
    const bool value = source->GetValue();
    WalkLive<wxCheckBox>([&] { return PrivateCheckBoxes(group, item); },
                         [&](wxCheckBox* box)
                         {
                             if (box != source)
                                 box->SetValue(value);
                         });
    PrivateCallHandlers(group, item, wxEVT_COMMAND_CHECKBOX_CLICKED);
    return true;
}

bool kxSettingsSet::UpdateComboBox(long group, long item, wxComboBox* source)
{
    wxCriticalSectionLocker lock(m_lock);
    Binding* binding = PrivateFindBinding(group, item);
    if (binding == nullptr)
        return false;
    WalkScope walk(*this);
    const long selection = source->GetSelection();
    WalkLive<wxComboBox>([&] { return PrivateComboBoxes(group, item); },
                         [&](wxComboBox* box)
                         {
                             if (box != source)
                                 kxSelectComboEntry(box, selection);
                         });
    PrivateCallHandlers(group, item, wxEVT_COMMAND_COMBOBOX_SELECTED);
    return true;
}

bool kxSettingsSet::UpdateEditBox(long group, long item, wxTextCtrl* source)
{
    wxCriticalSectionLocker lock(m_lock);
    Binding* binding = PrivateFindBinding(group, item);
    if (binding == nullptr)
        return false;
    WalkScope walk(*this);
    const wxString value = source->GetValue();
    WalkLive<wxTextCtrl>([&] { return PrivateEditBoxes(group, item); },
                         [&](wxTextCtrl* box)
                         {
                             if (box != source && box->GetValue() != value)
                                 box->ChangeValue(value);
                         });
    return true;
}
