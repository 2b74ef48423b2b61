// The settings store: groups and items over the toolkit's configuration file, loading and saving.
#include "kxRuzoVori/settings/kxSettings.h"

#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/platform/kxPlatformFile.h"
#include "kxRuzoVori/settings/private/kxQuietAssertions.h"
#include "kxRuzoVori/settings/private/kxSettingsEntry.h"
#include "kxRuzoVori/settings/private/kxSettingsRepair.h"

#include <wx/file.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/stdpaths.h>
#include <wx/strconv.h>

#include <set>

using namespace kxSettingsEntry;

namespace
{
const wxString kStaticRoot = wxS("/StaticGroup");
const wxString kDynamicRoot = wxS("/DynamicGroup");

// An absolute configuration path without empty, "." or ".." parts.
bool IsPlainPath(const wxString& path)
{
    if (path.length() < 2 || path[0] != '/' || path.Last() == '/')
        return false;
    return path.find(wxS("//")) == wxString::npos && path.find(wxS("/./")) == wxString::npos &&
           path.find(wxS("/../")) == wxString::npos && !path.EndsWith(wxS("/.")) &&
           !path.EndsWith(wxS("/.."));
}

// Where the toolkit puts the configuration file it was given: a relative name lies in the
// user's configuration folder.
wxString ResolveFilePath(const wxString& fileName, const wxString& appName)
{
    if (fileName.empty())
        return wxFileConfig::GetLocalFileName(appName);
    wxFileName path(fileName);
    if (!path.IsAbsolute())
        path.MakeAbsolute(wxStandardPaths::Get().GetUserConfigDir());
    return path.GetFullPath();
}

// Keeps assertions quiet while the toolkit reads the file; returns the text conversion the file
// is read with, which mends damage in memory.
const wxMBConv& BeginReading()
{
    kxQuietAssertions::Begin();
    static const kxSettingsRepair conv;
    return conv;
}
} // namespace

kxSettings::kxSettings(const wxString& fileName, kxSettingsSet* settingsSet)
try : wxFileConfig(wxEmptyString, wxEmptyString, fileName, wxEmptyString,
                   wxCONFIG_USE_LOCAL_FILE | wxCONFIG_USE_GLOBAL_FILE, BeginReading()),
    m_staticRoot(kStaticRoot), m_dynamicRoot(kDynamicRoot), m_settingsSet(settingsSet),
    m_fileName(fileName), m_frozen(false), m_filePath(ResolveFilePath(fileName, GetAppName()))
{
    kxQuietAssertions::End();
    // Texts are stored as given: a "$" in a value must not be taken for a variable.
    SetExpandEnvVars(false);
    const wxString dir = wxFileName(fileName).GetPath();
    if (dir.empty() || wxFileName::DirExists(dir))
        return;
    bool created;
    {
        // The exception below tells the host; the toolkit's own report would say it twice.
        wxLogNull quiet;
        created = wxFileName::Mkdir(dir, 0777, wxPATH_MKDIR_FULL);
    }
    if (!created)
        PrivateThrow(kxTranslate(wxS("Error creating directory for settings.\nDirectory: \"")) +
                     dir + wxS("\""));
}
catch (...)
{
    // Only reached with the assertions still quiet when the toolkit's part failed to build.
    kxQuietAssertions::End();
}

kxSettings::~kxSettings()
{
    Save2File();
}

void kxSettings::PrivateThrow(const wxString& message)
{
    throw kxSettingsException(message, kxTranslate(wxS("kxSettings module")));
}

kxSettingsGroup& kxSettings::PrivateGroup(long id)
{
    const auto found = m_groups.find(ClampToInt32(id));
    if (found == m_groups.end() || found->first != id)
        PrivateThrow(kxTranslate(wxS("Internal error. Wrong group ID")));
    return found->second;
}

kxSettingsItem& kxSettings::PrivateItem(long group, long item)
{
    const auto groupIt = m_groups.find(ClampToInt32(group));
    if (groupIt != m_groups.end() && groupIt->first == group)
    {
        const auto itemIt = groupIt->second.m_items.find(ClampToInt32(item));
        if (itemIt != groupIt->second.m_items.end() && itemIt->first == item)
            return itemIt->second;
    }
    PrivateThrow(kxTranslate(wxS("Internal error. Wrong value query")));
}

bool kxSettings::Freeze(bool frozen)
{
    wxCriticalSectionLocker lock(m_lock);
    m_frozen = frozen;
    return true;
}

bool kxSettings::IsFrozen() const
{
    wxCriticalSectionLocker lock(m_lock);
    return m_frozen;
}

void kxSettings::AddGroup(kxSettingsGroup& group, long id, bool isStatic, const wxString& name)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    if (m_groups.count(ClampToInt32(id)) != 0 || ClampToInt32(id) != id)
        PrivateThrow(kxTranslate(wxS("Group with specified ID is already exists")));
    group.m_path = (isStatic ? m_staticRoot : m_dynamicRoot) + name;
    m_groups.emplace(static_cast<wxInt32>(id), group);
}

bool kxSettings::IsGroupExists(bool isStatic, const wxString& name, long& id)
{
    wxCriticalSectionLocker lock(m_lock);
    const wxString path = (isStatic ? m_staticRoot : m_dynamicRoot) + name;
    for (const auto& [groupId, group] : m_groups)
    {
        if (group.m_path == path)
        {
            id = groupId;
            return true;
        }
    }
    return false;
}

wxString kxSettings::GetGroupName(long id)
{
    wxCriticalSectionLocker lock(m_lock);
    return PrivateGroup(id).m_path;
}

long kxSettings::FindGroupByItem(const wxString& name, const wxString& value)
{
    wxCriticalSectionLocker lock(m_lock);
    for (const auto& [groupId, group] : m_groups)
    {
        for (const auto& [itemId, item] : group.m_items)
        {
            if (item.m_name == name && item.m_text == value)
                return groupId;
        }
    }
    return -1;
}

bool kxSettings::RemoveGroup(long id)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    PrivateGroup(id);
    m_groups.erase(static_cast<wxInt32>(id));
    return true;
}

bool kxSettings::CopyGroup(long source, long target)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    const kxSettingsGroup& from = PrivateGroup(source);
    kxSettingsGroup& to = PrivateGroup(target);
    for (const auto& [id, item] : from.m_items)
    {
        const auto present = to.m_items.find(id);
        if (present == to.m_items.end())
        {
            to.m_items.emplace(id, item);
            continue;
        }
        present->second.m_name = item.m_name;
        switch (item.m_type)
        {
        case L'B':
            SetValue(target, id, item.m_flag, true);
            break;
        case L'D':
            SetValue(target, id, item.m_real, true);
            break;
        case L'L':
            SetValue(target, id, static_cast<long>(item.m_number), true);
            break;
        case L'S':
        case L'U':
            SetValue(target, id, wxString(item.m_text), true);
            break;
        default:
            break;
        }
    }
    return true;
}

bool kxSettings::ClearSettings()
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    const wxString path = GetPath();
    SetPath(wxS("/"));
    for (const auto& [id, group] : m_groups)
        DeleteGroup(group.m_path);
    PrivateRestorePath(path);
    PrivateWriteFile();
    m_groups.clear();
    return true;
}

// The host may use the store as a configuration object too: its current path is given back
// unless the save removed it.
void kxSettings::PrivateRestorePath(const wxString& path)
{
    SetPath(path.empty() || HasGroup(path) ? path : wxString(wxS("/")));
}

bool kxSettings::Save2File()
{
    wxCriticalSectionLocker lock(m_lock);
    // Nothing changed through the store, the configuration still holds what was last written (so
    // nobody wrote to it directly) and so does the file: writing everything again would give the
    // same text.
    if (m_changes == m_savedChanges && PrivateSerialize() == m_savedText &&
        PrivateFileHolds(m_savedText))
        return true;
    const wxString path = GetPath();
    SetPath(wxS("/"));
    if (!PrivateRewriteInPlace())
    {
        SetPath(wxS("/"));
        DeleteGroup(m_staticRoot);
        DeleteGroup(m_dynamicRoot);
        wxString entry;
        for (const auto& [groupId, group] : m_groups)
        {
            DeleteGroup(group.m_path);
            SetPath(group.m_path);
            for (const auto& [itemId, item] : group.m_items)
            {
                // An empty name would address the group itself, which holds no value.
                if (!item.m_name.empty() && FormatEntry(itemId, item, entry))
                    Write(item.m_name, entry);
            }
        }
    }
    PrivateRestorePath(path);
    return PrivateWriteFile();
}

bool kxSettings::PrivateHoldsItsGroupsOnly()
{
    std::set<wxString> paths;
    std::set<wxString> ancestors;
    const wxString roots[] = {m_staticRoot + wxS("/"), m_dynamicRoot + wxS("/")};
    size_t inTree[2] = {0, 0};
    for (const auto& [groupId, group] : m_groups)
    {
        const wxString& path = group.m_path;
        if (!IsPlainPath(path) || !paths.insert(path).second)
            return false;
        SetPath(wxS("/"));
        if (!HasGroup(path))
            return false;
        bool underRoot = false;
        for (int root = 0; root < 2; ++root)
        {
            if (!path.StartsWith(roots[root]))
                continue;
            underRoot = true;
            ++inTree[root];
            for (size_t slash = path.find('/', roots[root].length()); slash != wxString::npos;
                 slash = path.find('/', slash + 1))
            {
                if (ancestors.insert(path.substr(0, slash)).second)
                    ++inTree[root];
            }
        }
        SetPath(path);
        if (!underRoot && GetNumberOfGroups() != 0)
            return false;
    }
    for (const wxString& ancestor : ancestors)
    {
        if (paths.count(ancestor) != 0)
            return false;
        SetPath(ancestor);
        if (GetNumberOfEntries() != 0)
            return false;
    }
    for (int root = 0; root < 2; ++root)
    {
        const wxString rootPath = roots[root].substr(0, roots[root].length() - 1);
        SetPath(wxS("/"));
        if (!HasGroup(rootPath))
        {
            if (inTree[root] != 0)
                return false;
            continue;
        }
        SetPath(rootPath);
        if (GetNumberOfEntries() != 0 || GetNumberOfGroups(true) != inTree[root])
            return false;
    }
    return true;
}

// Deleting the groups and writing them again gives the same configuration as writing every value
// over its own entry whenever the configuration already holds exactly the groups and entries the
// store would write, as it does after the first save; and the toolkit inserts and deletes entries
// many times slower than it updates them. So when that holds, the values are written in place.
bool kxSettings::PrivateRewriteInPlace()
{
    if (!PrivateHoldsItsGroupsOnly())
        return false;
    // A group holding as many entries before as after writing its items' values, as many as it
    // has items, held exactly their names: the writes changed values only. Otherwise the caller
    // rewrites everything, so values written here do no harm.
    wxString entry;
    for (const auto& [groupId, group] : m_groups)
    {
        size_t count = 0;
        for (const auto& [itemId, item] : group.m_items)
        {
            if (item.m_name.empty() || !IsSavedType(item.m_type))
                continue;
            if (item.m_name.find('/') != wxString::npos)
                return false;
            ++count;
        }
        SetPath(group.m_path);
        if (GetNumberOfEntries() != count)
            return false;
        for (const auto& [itemId, item] : group.m_items)
        {
            if (!item.m_name.empty() && FormatEntry(itemId, item, entry))
                Write(item.m_name, entry);
        }
        if (GetNumberOfEntries() != count)
            return false;
    }
    return true;
}

std::string kxSettings::PrivateSerialize()
{
    wxMemoryOutputStream stream;
    if (!Save(stream, wxConvUTF8))
        return std::string();
    return std::string(static_cast<const char*>(stream.GetOutputStreamBuffer()->GetBufferStart()),
                       stream.GetSize());
}

bool kxSettings::PrivateFileHolds(const std::string& text)
{
    wxLogNull quiet;
    wxFile file;
    if (!wxFileName::FileExists(m_filePath) || !file.Open(m_filePath) ||
        file.Length() != static_cast<wxFileOffset>(text.size()))
        return false;
    std::string bytes(text.size(), '\0');
    return bytes.empty() ||
           (file.Read(&bytes[0], bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
            bytes == text);
}

// Nothing is written when the file holds what it last got from this store; anything else (a file
// removed or changed from outside) is replaced.
bool kxSettings::PrivateWriteFile()
{
    std::string text = PrivateSerialize();
    if (text.empty() && GetNumberOfEntries(true) + GetNumberOfGroups(true) != 0)
        return false;
    if (text != m_savedText || !PrivateFileHolds(text))
    {
        m_savedText.clear();
        if (!kxPlatform::ReplaceFile(m_filePath, text.data(), text.size()))
            return false;
        m_savedText = std::move(text);
    }
    m_savedChanges = m_changes;
    return true;
}

bool kxSettings::LoadSettings()
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    const wxString path = GetPath();
    for (auto& [groupId, group] : m_groups)
    {
        if (group.m_path.StartsWith(m_staticRoot))
            PrivateLoadStaticGroup(group);
        else if (group.m_path.StartsWith(m_dynamicRoot))
            PrivateLoadDynamicGroup(group);
    }
    PrivateRestorePath(path);
    return true;
}

void kxSettings::PrivateLoadStaticGroup(kxSettingsGroup& group)
{
    if (!HasGroup(group.m_path))
        return;
    SetPath(group.m_path);
    wxString raw;
    wxString text;
    for (auto& [itemId, item] : group.m_items)
    {
        if (item.m_name.empty() || !Read(item.m_name, &raw))
            continue;
        wchar_t type;
        long id;
        PrivateSplitSettingValue(raw, type, id, text);
        // The item's own type decides: the letter in the file is not trusted.
        ConvertText(item, item.m_type, text);
    }
}

bool kxSettings::PrivateSplitSettingValue(const wxString& raw, wchar_t& type, long& id,
                                          wxString& value)
{
    const size_t first = raw.find(':');
    const size_t second = first == wxString::npos ? wxString::npos : raw.find(':', first + 1);
    type = L'S';
    id = -1;
    if (first == wxString::npos)
    {
        value = raw;
        return true;
    }
    if (second == wxString::npos)
    {
        value = raw.substr(first + 1);
        return true;
    }
    if (first > 0)
        type = static_cast<wchar_t>(raw[0].GetValue());
    if (second > first + 1)
        id = ParseLong(raw.substr(first + 1, second - first - 1));
    value = raw.substr(second + 1);
    return true;
}

bool kxSettings::GetValue(long group, long item, bool& value)
{
    wxCriticalSectionLocker lock(m_lock);
    value = PrivateItem(group, item).m_flag;
    return true;
}

bool kxSettings::GetValue(long group, long item, long& value)
{
    wxCriticalSectionLocker lock(m_lock);
    const kxSettingsItem& found = PrivateItem(group, item);
    value = found.m_type == L'S' ? ParseLong(found.m_text) : found.m_number;
    return true;
}

bool kxSettings::GetValue(long group, long item, double& value)
{
    wxCriticalSectionLocker lock(m_lock);
    value = PrivateItem(group, item).m_real;
    return true;
}

bool kxSettings::GetValue(long group, long item, wxString& value)
{
    wxCriticalSectionLocker lock(m_lock);
    const kxSettingsItem& found = PrivateItem(group, item);
    value = found.m_type == L'L' ? FormatLong(found.m_number) : found.m_text;
    return true;
}

bool kxSettings::SetValue(long group, long item, bool value, bool notify)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    kxSettingsItem& found = PrivateItem(group, item);
    if (m_frozen)
        return true;
    found.m_flag = value;
    if (notify && m_settingsSet != nullptr)
        m_settingsSet->UpdateSetting(group, item, value);
    return true;
}

bool kxSettings::SetValue(long group, long item, long value, bool notify)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    kxSettingsItem& found = PrivateItem(group, item);
    if (m_frozen)
        return true;
    if (found.m_type == L'S')
        found.m_text = FormatLong(ClampToInt32(value));
    else
        found.m_number = ClampToInt32(value);
    if (notify && m_settingsSet != nullptr)
        m_settingsSet->UpdateSetting(group, item, value);
    return true;
}

bool kxSettings::SetValue(long group, long item, double value, bool)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    kxSettingsItem& found = PrivateItem(group, item);
    if (!m_frozen)
        found.m_real = value;
    return true;
}

bool kxSettings::SetValue(long group, long item, const wxString& value, bool notify)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    kxSettingsItem& found = PrivateItem(group, item);
    if (m_frozen)
        return true;
    if (found.m_type == L'L')
        found.m_number = ParseLong(value);
    else
        found.m_text = value;
    if (notify && m_settingsSet != nullptr)
        m_settingsSet->UpdateSetting(group, item, value);
    return true;
}

bool kxSettings::SetValue(long group, long item, const wxLongLongNative& value, bool)
{
    wxCriticalSectionLocker lock(m_lock);
    ++m_changes;
    kxSettingsItem& found = PrivateItem(group, item);
    if (!m_frozen)
        found.m_text = value.ToString();
    return true;
}

bool kxSettings::SetValue(long group, long item, int value, bool notify)
{
    return SetValue(group, item, static_cast<long>(value), notify);
}

bool kxSettings::SetValue(long group, long item, const char* value, bool notify)
{
    return SetValue(group, item, wxString(value), notify);
}

bool kxSettings::SetValue(long group, long item, const wchar_t* value, bool notify)
{
    return SetValue(group, item, wxString(value), notify);
}
