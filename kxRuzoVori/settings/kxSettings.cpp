#include "kxRuzoVori/settings/kxSettings.h"

#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/core/private/kxUtf.h"

#include <wx/file.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/stdpaths.h>
#include <wx/strconv.h>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <mutex>
#include <set>
#include <unordered_map>

// File format: every item is one entry of its group's section, named after the item, whose value
// is the type letter, ":", the item id in decimal, ":" and the value text. Numbers are written and
// read with "." whatever the process locale, so a file moves between users and machines intact.

namespace
{
const wxString g_staticRoot = wxS("/StaticGroup");
const wxString g_dynamicRoot = wxS("/DynamicGroup");

[[noreturn]] void ThrowSettingsError(const wxString& message)
{
    throw kxSettingsException(message, kxTranslate(wxS("kxSettings module")));
}

wxInt32 ClampToInt32(long value)
{
    if (value > std::numeric_limits<wxInt32>::max())
        return std::numeric_limits<wxInt32>::max();
    if (value < std::numeric_limits<wxInt32>::min())
        return std::numeric_limits<wxInt32>::min();
    return static_cast<wxInt32>(value);
}

bool IsSpace(wxUniChar c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Reads a decimal integer as strtol does (leading blanks, a sign, the digits up to the first
// other character; 0 when there are none), saturating at the 32-bit limits.
wxInt32 ParseLong(const wxString& text)
{
    wxString::const_iterator it = text.begin();
    const wxString::const_iterator end = text.end();
    while (it != end && IsSpace(*it))
        ++it;
    bool negative = false;
    if (it != end && (*it == '-' || *it == '+'))
    {
        negative = *it == '-';
        ++it;
    }
    long long value = 0;
    for (; it != end && *it >= '0' && *it <= '9'; ++it)
    {
        if (value <= 1LL << 32)
            value = value * 10 + (static_cast<wxUniChar>(*it).GetValue() - '0');
    }
    return ClampToInt32(static_cast<long>(negative ? -value : value));
}

// Reads a floating-point number as strtod does in the "C" locale; 0 when there is none.
double ParseReal(const wxString& text)
{
    char buffer[512];
    size_t length = 0;
    wxString::const_iterator it = text.begin();
    while (it != text.end() && IsSpace(*it))
        ++it;
    if (it != text.end() && *it == '+')
        ++it;
    for (; it != text.end() && length < sizeof buffer; ++it)
    {
        const wxUniChar c = *it;
        if (!c.IsAscii() || c == '\0')
            break;
        buffer[length++] = static_cast<char>(c.GetValue());
    }
    double value = 0;
    if (std::from_chars(buffer, buffer + length, value).ec != std::errc())
        return 0;
    return value;
}

wxString FormatLong(wxInt32 value)
{
    char buffer[16];
    const std::to_chars_result end = std::to_chars(buffer, buffer + sizeof buffer, value);
    return wxString::FromAscii(buffer, end.ptr - buffer);
}

// "%f": six digits after the point, fixed notation.
wxString FormatReal(double value)
{
    char buffer[400];
    const std::to_chars_result end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return wxString::FromAscii(buffer, end.ptr - buffer);
}

bool IsSavedType(wchar_t type)
{
    return type == L'B' || type == L'D' || type == L'L' || type == L'S' || type == L'U';
}

// An absolute configuration path without empty, "." or ".." parts.
bool IsPlainPath(const wxString& path)
{
    if (path.length() < 2 || path[0] != '/' || path.Last() == '/')
        return false;
    return path.find(wxS("//")) == wxString::npos && path.find(wxS("/./")) == wxString::npos &&
           path.find(wxS("/../")) == wxString::npos && !path.EndsWith(wxS("/.")) &&
           !path.EndsWith(wxS("/.."));
}

// The entry value of item, or false for a type that is not saved.
bool FormatEntry(wxInt32 id, const kxSettingsItem& item, wxString& entry)
{
    wxString text;
    switch (item.m_type)
    {
    case L'B':
        text = item.m_flag ? wxS("1") : wxS("0");
        break;
    case L'D':
        text = FormatReal(item.m_real);
        break;
    case L'L':
        text = FormatLong(item.m_number);
        break;
    case L'S':
    case L'U':
        text = item.m_text;
        break;
    default:
        return false;
    }
    entry.reserve(text.length() + 14);
    entry = wxUniChar(item.m_type);
    entry += ':';
    entry += FormatLong(id);
    entry += ':';
    entry += text;
    return true;
}

// Puts a value text read from the file into item by the type letter given.
bool ConvertText(kxSettingsItem& item, wchar_t type, const wxString& text)
{
    switch (type)
    {
    case L'B':
        item.m_flag = text == wxS("1");
        return true;
    case L'D':
        item.m_real = ParseReal(text);
        return true;
    case L'L':
        item.m_number = ParseLong(text);
        return true;
    case L'S':
    case L'U':
        item.m_text = text;
        return true;
    default:
        return false;
    }
}

// Writes size bytes to a temporary file beside path, forces them to disk and renames the
// temporary over path, so path always holds either its old or its new content.
bool WriteFileAtomically(const wxString& path, const void* data, size_t size)
{
    wxFile file;
    const wxString temporary = wxFileName::CreateTempFileName(path, &file);
    if (temporary.empty())
        return false;
    const bool written = file.Write(data, size) == size && file.Flush() && file.Close();
    if (written && wxRenameFile(temporary, path, true))
        return true;
    file.Close();
    wxRemoveFile(temporary);
    return false;
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

// The first c in text between from and end, or npos; never looks past the line.
size_t FindInLine(const std::string& text, char c, size_t from, size_t end)
{
    const void* found = std::memchr(text.data() + from, c, end - from);
    return found == nullptr ? std::string::npos : static_cast<const char*>(found) - text.data();
}

// The text with NUL bytes left out and every byte that is not part of valid UTF-8 replaced by its
// Latin-1 character; false when there was nothing to replace.
bool MendBytes(const std::string& bytes, std::string& mended)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = bytes.size();
    bool damaged = false;
    for (size_t i = 0; i < size;)
    {
        std::uint32_t c;
        const size_t sequence = p[i] == 0 ? 0 : kxUtf8Decode(p + i, size - i, c);
        if (sequence != 0)
        {
            if (damaged)
                mended.append(bytes, i, sequence);
            i += sequence;
            continue;
        }
        if (!damaged)
        {
            mended.assign(bytes, 0, i);
            damaged = true;
        }
        if (p[i] != 0)
            kxUtf8Append(mended, p[i]);
        ++i;
    }
    return damaged;
}

// The text without the entries the toolkit's reader would stumble on: an entry without a name, and
// every entry but the last of several with one name in one section (the reader takes the last;
// the others would stay in the file as loose lines and could later override a saved value).
// False when there was nothing to leave out.
bool DropUnreadableEntries(const std::string& text, std::string& kept)
{
    struct Line
    {
        size_t m_begin;
        size_t m_end;
        bool m_keep;
    };
    std::vector<Line> lines;
    std::unordered_map<std::string, size_t> lastEntry;
    std::string section;
    bool dropped = false;
    for (size_t begin = 0; begin < text.size();)
    {
        size_t end = text.find('\n', begin);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back({begin, end, true});
        size_t first = text.find_first_not_of(" \t", begin);
        if (first < end)
        {
            const char lead = text[first];
            const size_t equals = FindInLine(text, '=', first, end);
            if (lead == '[')
            {
                const size_t close = FindInLine(text, ']', first, end);
                if (close != std::string::npos)
                    section = text.substr(first + 1, close - first - 1);
            }
            else if (lead != ';' && lead != '#' && equals != std::string::npos)
            {
                size_t keyEnd = equals;
                while (keyEnd > first && (text[keyEnd - 1] == ' ' || text[keyEnd - 1] == '\t'))
                    --keyEnd;
                if (keyEnd == first)
                {
                    lines.back().m_keep = false;
                    dropped = true;
                }
                else
                {
                    std::string key = section;
                    key += '\0';
                    key.append(text, first, keyEnd - first);
                    const auto previous = lastEntry.find(key);
                    if (previous != lastEntry.end())
                    {
                        lines[previous->second].m_keep = false;
                        dropped = true;
                    }
                    lastEntry[key] = lines.size() - 1;
                }
            }
        }
        begin = end;
    }
    if (!dropped)
        return false;
    kept.clear();
    for (const Line& line : lines)
    {
        if (line.m_keep)
            kept.append(text, line.m_begin, line.m_end - line.m_begin);
    }
    return true;
}

// A damaged file is mended before the toolkit reads it, so that every entry that survived the
// damage is read, and read once. A file holding NUL bytes or bytes that are not UTF-8 is lost
// whole to the toolkit's reader; entries it cannot place would linger in the file. Files marked as
// UTF-16 or UTF-32 are the toolkit's to decode.
void MendFile(const wxString& path)
{
    if (path.empty() || !wxFileName::FileExists(path))
        return;
    wxLogNull quiet;
    wxFile file(path);
    const wxFileOffset length = file.IsOpened() ? file.Length() : wxInvalidOffset;
    if (length <= 0)
        return;
    std::string bytes(static_cast<size_t>(length), '\0');
    if (file.Read(&bytes[0], bytes.size()) != static_cast<ssize_t>(bytes.size()))
        return;
    file.Close();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF)))
        return;
    if (bytes.size() >= 4 && p[0] == 0 && p[1] == 0 && p[2] == 0xFE && p[3] == 0xFF)
        return;
    std::string mended;
    const bool decoded = MendBytes(bytes, mended);
    std::string kept;
    const bool dropped = DropUnreadableEntries(decoded ? mended : bytes, kept);
    if (dropped)
        WriteFileAtomically(path, kept.data(), kept.size());
    else if (decoded)
        WriteFileAtomically(path, mended.data(), mended.size());
}

// The toolkit's parser asserts on some damaged files (a section given twice, for one) and then
// carries on correctly; a host must not meet an assertion dialog because a
// settings file was damaged. Assertions are kept quiet while a store reads its file.
class QuietAssertions
{
public:
    // Mends the file the store was given first; returns the text conversion it is read with.
    static const wxMBConv& Begin(const wxString& fileName)
    {
        if (!fileName.empty())
            MendFile(ResolveFilePath(fileName, wxEmptyString));
        std::lock_guard<std::mutex> lock(Mutex());
        t_quiet = true;
        if (Depth()++ == 0)
            Previous() = wxSetAssertHandler(Ignore);
        static const wxConvAuto conv;
        return conv;
    }

    // Does nothing when this thread has already ended its quiet time.
    static void End()
    {
        std::lock_guard<std::mutex> lock(Mutex());
        if (!t_quiet)
            return;
        t_quiet = false;
        if (--Depth() == 0)
            wxSetAssertHandler(Previous());
    }

private:
    static thread_local bool t_quiet;

    static void Ignore(const wxString&, int, const wxString&, const wxString&, const wxString&) {}
    static std::mutex& Mutex()
    {
        static std::mutex mutex;
        return mutex;
    }
    static int& Depth()
    {
        static int depth = 0;
        return depth;
    }
    static wxAssertHandler_t& Previous()
    {
        static wxAssertHandler_t previous = nullptr;
        return previous;
    }
};

thread_local bool QuietAssertions::t_quiet = false;

} // namespace

kxSettings::kxSettings(const wxString& fileName, kxSettingsSet* settingsSet)
try : wxFileConfig(wxEmptyString, wxEmptyString, fileName, wxEmptyString,
                   wxCONFIG_USE_LOCAL_FILE | wxCONFIG_USE_GLOBAL_FILE,
                   QuietAssertions::Begin(fileName)),
    m_staticRoot(g_staticRoot), m_dynamicRoot(g_dynamicRoot), m_settingsSet(settingsSet),
    m_fileName(fileName), m_frozen(false), m_filePath(ResolveFilePath(fileName, GetAppName()))
{
    QuietAssertions::End();
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
        ThrowSettingsError(
            kxTranslate(wxS("Error creating directory for settings.\nDirectory: \"")) + dir +
            wxS("\""));
}
catch (...)
{
    // Only reached with the assertions still quiet when the toolkit's part failed to build.
    QuietAssertions::End();
}

kxSettings::~kxSettings()
{
    Save2File();
}

kxSettingsGroup& kxSettings::PrivateGroup(long id)
{
    const auto found = m_groups.find(ClampToInt32(id));
    if (found == m_groups.end() || found->first != id)
        ThrowSettingsError(kxTranslate(wxS("Internal error. Wrong group ID")));
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
    ThrowSettingsError(kxTranslate(wxS("Internal error. Wrong value query")));
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
        ThrowSettingsError(kxTranslate(wxS("Group with specified ID is already exists")));
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
    // Nothing changed through the store, and the configuration still holds what was last
    // written (so nobody wrote to it directly): writing everything again would give the same text.
    if (m_changes == m_savedChanges && PrivateSerialize() == m_savedText)
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

// Deleting the groups and writing them again gives the same configuration as writing every value
// over its own entry whenever the configuration already holds exactly the groups and entries the
// store would write, as it does after the first save; and the toolkit inserts and deletes entries
// many times slower than it updates them. So when that holds, the values are written in place.
bool kxSettings::PrivateRewriteInPlace()
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

// Like the toolkit's own flush, nothing is written when the text is what the file last got from
// this store.
bool kxSettings::PrivateWriteFile()
{
    std::string text = PrivateSerialize();
    if (text.empty() && GetNumberOfEntries(true) + GetNumberOfGroups(true) != 0)
        return false;
    if (text != m_savedText)
    {
        m_savedText.clear();
        if (!WriteFileAtomically(m_filePath, text.data(), text.size()))
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
        ThrowSettingsError(
            kxTranslate(wxS("Internal settings error. Wrong size of group item's list")));
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
            ThrowSettingsError(
                kxTranslate(wxS("Dynamic group must contains items of string type")));
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
            ThrowSettingsError(
                kxTranslate(wxS("Dynamic group must contains items of string type")));
        names.push_back(item.m_name);
        values.push_back(item.m_text);
    }
    return true;
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
