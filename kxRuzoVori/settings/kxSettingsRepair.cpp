// The conversion settings files are read with: bytes that are not UTF-8 and entries the toolkit's
// reader would stumble on are mended in memory.
#include "kxRuzoVori/settings/private/kxSettingsRepair.h"

#include "kxRuzoVori/core/private/kxUtf.h"

#include <wx/convauto.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace
{
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
} // namespace

size_t kxSettingsRepair::ToWChar(wchar_t* dst, size_t dstLen, const char* src, size_t srcLen) const
{
    const bool terminated = srcLen == wxNO_LEN;
    if (terminated)
        srcLen = std::strlen(src);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(src);
    if ((srcLen >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) ||
        (srcLen >= 4 && p[0] == 0 && p[1] == 0 && p[2] == 0xFE && p[3] == 0xFF))
        return wxConvAuto().ToWChar(dst, dstLen, src, terminated ? wxNO_LEN : srcLen);
    std::string bytes(src, srcLen);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);
    std::string mended;
    if (MendBytes(bytes, mended))
        bytes.swap(mended);
    std::string kept;
    if (DropUnreadableEntries(bytes, kept))
        bytes.swap(kept);
    if (terminated)
        bytes += '\0';
    return wxConvUTF8.ToWChar(dst, dstLen, bytes.data(), bytes.size());
}

size_t kxSettingsRepair::FromWChar(char* dst, size_t dstLen, const wchar_t* src,
                                   size_t srcLen) const
{
    return wxConvUTF8.FromWChar(dst, dstLen, src, srcLen);
}

wxMBConv* kxSettingsRepair::Clone() const
{
    return new kxSettingsRepair;
}
