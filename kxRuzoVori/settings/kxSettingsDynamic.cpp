// The settings store's dynamic groups: sections whose entries, whatever they are, become items.
#include "kxRuzoVori/settings/kxSettings.h"

#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/settings/private/kxSettingsEntry.h"

using namespace kxSettingsEntry;

// The section's entries, whatever they are, become items; an entry without an id of its own takes
// its place in the section. Items already in the group win over entries with the same id.
void kxSettings::PrivateLoadDynamicGroup(kxSettingsGroup& group)
{
    if (!HasGroup(group.m_path))
        return;
    SetPath(group.m_path);
    wxString name;
    wxString raw;
    wxString text;
    long cookie = 0;
    long index = 0;
    for (bool more = GetFirstEntry(name, cookie); more; more = GetNextEntry(name, cookie), ++index)
    {
        if (!Read(name, &raw))
            continue;
        wchar_t type;
        long id;
        PrivateSplitSettingValue(raw, type, id, text);
        if (id == -1)
            id = index;
        const wxInt32 key = ClampToInt32(id);
        if (group.m_items.count(key) != 0)
            continue;
        kxSettingsItem item;
        item.m_name = name;
        if (ConvertText(item, type, text))
            item.m_type = type;
        else
            item.m_text = text;
        group.m_items.emplace(key, item);
    }
}

void kxSettings::PrivateAddDynamicItem(kxSettingsGroup& group, const wxString* name,
                                       const wxString& value)
{
    wxInt32 id = static_cast<wxInt32>(group.m_items.size());
    while (group.m_items.count(id) != 0)
        ++id;
    kxSettingsItem item(name != nullptr ? *name : wxS("item") + FormatLong(id), value);
    group.m_items.emplace(id, item);
}

bool kxSettings::AddItemToDynamicGroup(long group, const wxString& value)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    kxSettingsGroup& found = PrivateGroup(group);
    if (!m_frozen)
        PrivateAddDynamicItem(found, nullptr, value);
    return true;
}

bool kxSettings::AddItemToDynamicGroupEx(long group, const wxString& name, const wxString& value)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    kxSettingsGroup& found = PrivateGroup(group);
    if (!m_frozen)
        PrivateAddDynamicItem(found, &name, value);
    return true;
}

bool kxSettings::RemoveItemFromDynamicGroupByName(long group, const wxString& name)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    kxSettingsGroup& found = PrivateGroup(group);
    if (m_frozen)
        return false;
    for (auto it = found.m_items.begin(); it != found.m_items.end(); ++it)
    {
        if (it->second.m_name == name)
        {
            found.m_items.erase(it);
            return true;
        }
    }
    return false;
}

bool kxSettings::RemoveItemFromDynamicGroupByValue(long group, const wxString& value)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    kxSettingsGroup& found = PrivateGroup(group);
    if (m_frozen)
        return true;
    for (auto it = found.m_items.begin(); it != found.m_items.end(); ++it)
    {
        if (it->second.m_text == value)
        {
            found.m_items.erase(it);
            break;
        }
    }
    wxInt32 number = 0;
    for (auto& [id, item] : found.m_items)
        item.m_name = wxS("item") + FormatLong(number++);
    return true;
}

long kxSettings::FindItemByName(long group, const wxString& name)
{
    wxCriticalSectionLocker lock(m_lock);
    for (const auto& [id, item] : PrivateGroup(group).m_items)
    {
        if (item.m_name == name)
            return id;
    }
    return -1;
}

long kxSettings::FindItemByValue(long group, const wxString& value)
{
    wxCriticalSectionLocker lock(m_lock);
    for (const auto& [id, item] : PrivateGroup(group).m_items)
    {
        if (item.m_text == value)
            return id;
    }
    return -1;
}

bool kxSettings::IsGroupHasItems(long group)
{
    wxCriticalSectionLocker lock(m_lock);
    return !PrivateGroup(group).m_items.empty();
}

bool kxSettings::RemoveGroupItems(long group)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    PrivateGroup(group).m_items.clear();
    return false;
}

bool kxSettings::SaveItemsOfDynamicGroup(long group, const std::vector<wxString>& values)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    kxSettingsGroup& found = PrivateGroup(group);
    if (m_frozen)
        return true;
    std::map<wxInt32, kxSettingsItem> items;
    for (size_t i = 0; i < values.size(); ++i)
    {
        const wxInt32 id = static_cast<wxInt32>(i);
        items.emplace_hint(items.end(), id,
                           kxSettingsItem(wxS("item") + FormatLong(id), values[i]));
    }
    found.m_items.swap(items);
    return true;
}

bool kxSettings::SaveItemsOfDynamicGroupEx(long group, const std::vector<wxString>& names,
                                           const std::vector<wxString>& values)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    kxSettingsGroup& found = PrivateGroup(group);
    if (m_frozen)
        return true;
    if (names.size() != values.size())
        PrivateThrow(kxTranslate(wxS("Internal settings error. Wrong size of group item's list")));
    std::map<wxInt32, kxSettingsItem> items;
    for (size_t i = 0; i < values.size(); ++i)
        items.emplace_hint(items.end(), static_cast<wxInt32>(i),
                           kxSettingsItem(names[i], values[i]));
    found.m_items.swap(items);
    return true;
}

bool kxSettings::LoadItemsOfDynamicGroup(long group, std::vector<wxString>& values)
{
    wxCriticalSectionLocker lock(m_lock);
    const kxSettingsGroup& found = PrivateGroup(group);
    values.clear();
    for (const auto& [id, item] : found.m_items)
    {
        if (item.m_type != L'S')
            PrivateThrow(kxTranslate(wxS("Dynamic group must contains items of string type")));
        values.push_back(item.m_text);
    }
    return !values.empty();
}

bool kxSettings::LoadItemsOfDynamicGroupEx(long group, std::vector<wxString>& names,
                                           std::vector<wxString>& values)
{
    wxCriticalSectionLocker lock(m_lock);
    const kxSettingsGroup& found = PrivateGroup(group);
    if (m_frozen)
        return true;
    names.clear();
    values.clear();
    for (const auto& [id, item] : found.m_items)
    {
        if (item.m_type != L'S')
            PrivateThrow(kxTranslate(wxS("Dynamic group must contains items of string type")));
        names.push_back(item.m_name);
        values.push_back(item.m_text);
    }
    return true;
}
