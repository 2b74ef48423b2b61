// The serialization stream: the tag check, passing over items, and the enter and leave markers of
// objects.
#include "kxRuzoVori/serialize/wxSerialize.h"

#include "kxRuzoVori/serialize/private/wxSerializeFormat.h"

#include <cstring>

using namespace wxSerializeFormat;

int wxSerialize::LoadChunkHeader(int expected)
{
    if (!CanLoad() || m_haveBoundary)
        return 0;
    unsigned char tag = 0;
    LoadBytes(&tag, 1);
    if (tag == kTagEnter || tag == kTagLeave)
    {
        m_haveBoundary = true;
        m_lastBoundary = tag;
        return 0;
    }
    if (tag == expected)
        return tag;
    LogError(kErrorOther, kMessageWrongType, GetHeaderName(expected), GetHeaderName(tag));
    return -1;
}

bool wxSerialize::LoadItem(int expected, unsigned char* payload, size_t size)
{
    if (!CanLoad() || m_haveBoundary)
        return false;
    const wxFileOffset left = GetRemaining(m_inputLength);
    if (left < 0 || static_cast<wxUint64>(left) < size + 1)
        return LoadChunkHeader(expected) == expected && CanLoad() && LoadBytes(payload, size);

    // The stream holds the whole item: tag and payload come in one piece.
    unsigned char bytes[1 + kMaxFixedSize];
    if (!LoadBytes(bytes, size + 1))
        return false;
    const unsigned char tag = bytes[0];
    if (tag == kTagEnter || tag == kTagLeave)
    {
        // Only the marker was due: the rest goes back for whoever reads next.
        if (m_idstr.Ungetch(bytes + 1, size) != size)
        {
            LogError(kErrorOther, kMessageNoMemory, wxString::Format(wxS("%zu"), size));
            return false;
        }
        m_haveBoundary = true;
        m_lastBoundary = tag;
        return false;
    }
    if (tag != expected)
    {
        LogError(kErrorOther, kMessageWrongType, GetHeaderName(expected), GetHeaderName(tag));
        return false;
    }
    std::memcpy(payload, bytes + 1, size);
    return true;
}

void wxSerialize::SkipData(unsigned char tag)
{
    switch (tag)
    {
    case kTagBool:
    case kTagUint8:
        LoadUint8();
        break;
    case kTagUint16:
        LoadUint16();
        break;
    case kTagUint32:
        LoadUint32();
        break;
    case kTagUint64:
        LoadUint64();
        break;
    case kTagInt:
        LoadInt();
        break;
    case kTagIntInt:
    {
        int first;
        int second;
        LoadIntInt(first, second);
        break;
    }
    case kTagDouble:
        LoadDouble();
        break;
    case kTagString:
    {
        const wxUint32 count = LoadUint32();
        if (IsOk())
            SkipBytes(wxUint64(count) * 2);
        break;
    }
    case kTagArrayString:
    {
        const wxUint32 count = LoadUint32();
        if (IsOk() && CheckAvailable(wxUint64(count) * 4))
        {
            for (wxUint32 i = 0; i < count && IsOk(); ++i)
            {
                const wxUint32 units = LoadUint32();
                if (IsOk())
                    SkipBytes(wxUint64(units) * 2);
            }
        }
        break;
    }
    case kTagDateTime:
        LoadDateTime();
        break;
    case kTagRecord:
    {
        const wxUint32 length = LoadUint32();
        if (IsOk())
            SkipBytes(length);
        break;
    }
    case kTagEnter:
    case kTagLeave:
        break;
    default:
        LogError(kErrorOther, kMessageUnknownTag, GetHeaderName(tag));
        break;
    }
}

// ---- objects

bool wxSerialize::EnterObject()
{
    if (!IsOk())
        return false;
    if (m_writeMode)
    {
        if (!CanStore())
            return false;
        ++m_objectLevel;
        SaveChar(kTagEnter);
        return IsOk();
    }
    if (!CanLoad())
        return false;
    ++m_objectLevel;
    FindCurrentEnterLevel();
    return IsOk();
}

bool wxSerialize::LeaveObject()
{
    if (!IsOk())
        return false;
    if (m_writeMode)
    {
        if (!CanStore())
            return false;
        if (--m_objectLevel < 0)
        {
            LogError(kErrorOther, kMessageLevelBelowZero);
            return false;
        }
        SaveChar(kTagLeave);
        return IsOk();
    }
    if (!CanLoad())
        return false;
    if (--m_objectLevel < 0)
    {
        LogError(kErrorOther, kMessageLevelBelowZero);
        return false;
    }
    FindCurrentLeaveLevel();
    return IsOk();
}

void wxSerialize::FindCurrentEnterLevel()
{
    // Only a pending start marker is this object's; a pending leave marker stays pending for the
    // LeaveObject() it belongs to, and the search reads on.
    if (m_haveBoundary && m_lastBoundary == kTagEnter)
    {
        m_haveBoundary = false;
        return;
    }
    unsigned char tag = LoadChar();
    while (IsOk())
    {
        if (tag == kTagEnter)
            return;
        m_status.m_skipped = true;
        if (tag == kTagLeave)
            LogError(kErrorOther, kMessageLeaveWithoutEnter);
        SkipData(tag);
        tag = LoadChar();
    }
}

void wxSerialize::FindCurrentLeaveLevel()
{
    int depth = 1;
    if (m_haveBoundary)
    {
        m_haveBoundary = false;
        if (m_lastBoundary == kTagLeave)
            return;
        depth = 2;
    }
    bool first = true;
    while (IsOk() && depth > 0)
    {
        const unsigned char tag = LoadChar();
        if (!IsOk())
            break;
        if (!first)
            m_status.m_skipped = true;
        first = false;
        SkipData(tag);
        if (tag == kTagEnter)
            ++depth;
        else if (tag == kTagLeave)
            --depth;
    }
}
