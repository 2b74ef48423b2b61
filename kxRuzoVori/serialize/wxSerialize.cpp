// The serialization stream: construction and header, state and errors, and the untagged reads
// and writes every item is made of.
#include "kxRuzoVori/serialize/wxSerialize.h"

#include "kxRuzoVori/serialize/private/wxSerializeFormat.h"

#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <algorithm>
#include <cstring>

using namespace wxSerializeFormat;

namespace
{
const char* const kErrorMessages[] = {
    "Wrong header in start of stream, expected header '%s and got '%s'",
    "Invalid version in stream, got v%s but expected v%s or higher",
    "Bad input stream",
    "Bad output stream",
    "Cannot write version and/or header information to stream",
    "No valid header found in stream but expected header '%s'",
    "No version information found in stream",
    "Cannot write while in read mode!",
    "Cannot read while in write mode!",
    "End of stream error while reading!",
    "Expected chunk item of type '%s' but got type '%s'",
    "Memory allocation error. Cannot allocate %s bytes",
    "Record to read is 0 bytes or larger then expected (does not fit maxcount)",
    "Cannot read back 'int' value because it's of unknown size (need 1, 2, 4 or 8)",
    "Cannot save 'int' value because it's of unknown size (need 1, 2, 4 or 8)",
    "Sync Error: Illegal LeaveObject() header encountered, expected EnterObject()",
    "Unknown '%s' header in stream",
    "Sync Error: Level dropped below 0, too much LeaveObject() calls ?",
};
static_assert(WXSIZEOF(kErrorMessages) == kMessageCount, "one text per message");

} // namespace

wxSerialize::wxSerialize(wxOutputStream& stream, unsigned int version, const wxString& header,
                         bool partialMode)
    : m_unusedOutput(&m_unusedText), m_unusedInput(wxEmptyString), m_errorCode(kErrorOther),
      m_header(header), m_version(version), m_opened(false), m_partialMode(partialMode),
      m_writeMode(true), m_odstr(stream), m_idstr(m_unusedInput), m_objectLevel(0),
      m_haveBoundary(false), m_lastBoundary(0), m_inputLength(wxInvalidOffset)
{
    if (!m_odstr.IsOk())
    {
        LogError(kErrorOther, kMessageBadOutput);
        return;
    }
    m_opened = true;
    m_errorCode = 0;
    SaveString(m_header);
    SaveUint32(m_version);
    m_status.m_version = m_version;
    m_status.m_header = m_header;
    if (!IsOk())
        LogError(kErrorOther, kMessageHeaderNotWritten);
}

wxSerialize::wxSerialize(wxInputStream& stream, unsigned int version, const wxString& header,
                         bool partialMode)
    : m_unusedOutput(&m_unusedText), m_unusedInput(wxEmptyString), m_errorCode(kErrorOther),
      m_header(header), m_version(version), m_opened(false), m_partialMode(partialMode),
      m_writeMode(false), m_odstr(m_unusedOutput), m_idstr(stream), m_objectLevel(0),
      m_haveBoundary(false), m_lastBoundary(0), m_inputLength(stream.GetLength())
{
    if (!m_idstr.IsOk())
    {
        LogError(kErrorOther, kMessageBadInput);
        return;
    }
    m_opened = true;
    m_errorCode = 0;
    ReadHeader(version, header);
}

void wxSerialize::ReadHeader(unsigned int version, const wxString& header)
{
    const wxString found = LoadUniString();
    if (!IsOk())
    {
        LogError(kErrorOther, kMessageNoHeader, header);
        return;
    }
    if (!header.empty() && header != found)
    {
        LogError(kErrorOther, kMessageWrongHeader, header, found);
        return;
    }
    m_header = header;
    const wxUint32 streamVersion = LoadUint32();
    if (!IsOk())
    {
        LogError(kErrorOther, kMessageNoVersion);
        return;
    }
    if (version != 0 && streamVersion > version)
    {
        LogError(kErrorOther, kMessageBadVersion, wxString::Format(wxS("%u"), version),
                 wxString::Format(wxS("%u"), streamVersion));
        return;
    }
    m_version = streamVersion;
    m_status.m_version = streamVersion;
    m_status.m_header = m_header;
}

wxSerialize::~wxSerialize()
{
    m_opened = false;
}

bool wxSerialize::IsOk() const
{
    if (m_errorCode != 0)
        return false;
    return m_writeMode ? m_odstr.IsOk() : m_idstr.IsOk();
}

bool wxSerialize::Eof() const
{
    return !m_writeMode && m_idstr.Eof();
}

bool wxSerialize::CanStore()
{
    if (!m_writeMode)
    {
        LogError(kErrorOther, kMessageWriteWhileReading);
        return false;
    }
    return m_opened && m_errorCode == 0;
}

bool wxSerialize::CanLoad()
{
    if (m_writeMode)
    {
        LogError(kErrorOther, kMessageReadWhileWriting);
        return false;
    }
    if (!m_opened)
        return false;
    if (m_idstr.Eof())
    {
        LogError(kErrorEnd, kMessageEndOfStream);
        return false;
    }
    return m_errorCode == 0;
}

wxString wxSerialize::GetLibVersionString()
{
    return wxString::Format(wxS("wxSerialize v%d.%d"), GetLibVersionMajor(), GetLibVersionMinor());
}

void wxSerialize::InitAll()
{
    m_opened = false;
    m_errorCode = kErrorOther;
    m_objectLevel = 0;
    m_haveBoundary = false;
    m_lastBoundary = 0;
}

int wxSerialize::LogError(int code, int messageIndex, const wxString& s1, const wxString& s2)
{
    if (code == 0 || !m_errMsg.empty())
        return m_errorCode;
    m_opened = false;
    m_errorCode = code;
    wxString message;
    if (messageIndex < 0 || messageIndex >= static_cast<int>(WXSIZEOF(kErrorMessages)))
        message = wxS("Unknown error error (aint that something ...)");
    else
        message = wxString(kErrorMessages[messageIndex]);
    // The texts s1 and s2 go in literally: a '%' in them is not a format.
    const wxString parts[] = {s1, s2};
    wxString built;
    size_t used = 0;
    for (size_t i = 0; i < message.length(); ++i)
    {
        if (message[i] == wxS('%') && i + 1 < message.length() && message[i + 1] == wxS('s') &&
            used < WXSIZEOF(parts))
        {
            built += parts[used++];
            ++i;
        }
        else
        {
            built += message[i];
        }
    }
    m_errMsg = built;
    wxLogError(wxS("%s"), m_errMsg);
    return m_errorCode;
}

wxString wxSerialize::GetHeaderName(int tag)
{
    switch (tag)
    {
    case kTagBool:
        return wxS("bool");
    case kTagUint8:
        return wxS("8bits uint");
    case kTagDouble:
        return wxS("double");
    case kTagUint32:
        return wxS("32bits uint");
    case kTagUint64:
        return wxS("64bits uint");
    case kTagRecord:
        return wxS("data record");
    case kTagString:
        return wxS("string");
    case kTagUint16:
        return wxS("16bits uint");
    default:
        break;
    }
    if (tag >= 0x30 && tag <= 0x7F)
        return wxString::Format(wxS("%c"), tag);
    return wxString::Format(wxS("0x%02X"), tag);
}

// ---- raw writers

void wxSerialize::SaveBytes(const void* data, size_t size)
{
    if (CanStore())
        m_odstr.Write(data, size);
}

void wxSerialize::SaveChar(unsigned char value)
{
    SaveBytes(&value, 1);
}

void wxSerialize::SaveUint8(unsigned char value)
{
    SaveBytes(&value, 1);
}

void wxSerialize::SaveUint16(wxUint16 value)
{
    unsigned char bytes[2];
    kxPutBE16(bytes, value);
    SaveBytes(bytes, sizeof bytes);
}

void wxSerialize::SaveUint32(wxUint32 value)
{
    unsigned char bytes[4];
    kxPutBE32(bytes, value);
    SaveBytes(bytes, sizeof bytes);
}

void wxSerialize::SaveUint64(wxUint64 value)
{
    unsigned char bytes[8];
    kxPutBE64(bytes, value);
    SaveBytes(bytes, sizeof bytes);
}

void wxSerialize::SaveString(const wxString& value)
{
    if (!CanStore())
        return;
    ByteSink sink(m_odstr);
    sink.PutString(value);
}

// ---- raw readers

bool wxSerialize::LoadBytes(void* data, size_t size)
{
    m_idstr.Read(data, size);
    if (m_idstr.LastRead() == size)
        return true;
    LogError(kErrorEnd, kMessageEndOfStream);
    return false;
}

wxFileOffset wxSerialize::GetRemaining(wxFileOffset length) const
{
    if (length == wxInvalidOffset)
        return -1;
    const wxFileOffset position = m_idstr.TellI();
    if (position == wxInvalidOffset || position > length)
        return -1;
    return length - position;
}

bool wxSerialize::CheckAvailable(wxUint64 size)
{
    // Asked afresh: a file may have grown since the reader was made.
    const wxFileOffset left = GetRemaining(m_idstr.GetLength());
    if (left < 0 || size <= static_cast<wxUint64>(left))
        return true;
    LogError(kErrorOther, kMessageBadRecordSize);
    return false;
}

void wxSerialize::SkipBytes(wxUint64 size)
{
    if (!CheckAvailable(size))
        return;
    unsigned char piece[kPiece];
    while (size != 0 && IsOk())
    {
        const size_t now = static_cast<size_t>(std::min<wxUint64>(size, sizeof piece));
        if (!LoadBytes(piece, now))
            return;
        size -= now;
    }
}

unsigned char wxSerialize::LoadChar()
{
    unsigned char value = 0;
    if (CanLoad() && !LoadBytes(&value, 1))
        value = 0;
    return value;
}

unsigned char wxSerialize::LoadUint8()
{
    return LoadChar();
}

wxUint16 wxSerialize::LoadUint16()
{
    unsigned char bytes[2];
    if (!CanLoad() || !LoadBytes(bytes, sizeof bytes))
        return 0;
    return kxGetBE16(bytes);
}

wxUint32 wxSerialize::LoadUint32()
{
    unsigned char bytes[4];
    if (!CanLoad() || !LoadBytes(bytes, sizeof bytes))
        return 0;
    return kxGetBE32(bytes);
}

wxUint64 wxSerialize::LoadUint64()
{
    unsigned char bytes[8];
    if (!CanLoad() || !LoadBytes(bytes, sizeof bytes))
        return 0;
    return kxGetBE64(bytes);
}

wxLongLongNative wxSerialize::LoadLongLong()
{
    const wxUint32 high = LoadUint32();
    const wxUint32 low = LoadUint32();
    // Joined here: the toolkit's (high, low) constructor shifts a negative high half.
    return wxLongLongNative(static_cast<wxLongLong_t>((wxUint64(high) << 32) | low));
}

bool wxSerialize::LoadBool()
{
    return LoadUint8() != 0;
}

double wxSerialize::LoadDouble()
{
    unsigned char bytes[kDoubleSize];
    if (!CanLoad() || !LoadBytes(bytes, sizeof bytes))
        return 0.0;
    return GetExtended(bytes);
}

int wxSerialize::LoadSizedInt(unsigned char size)
{
    switch (size)
    {
    case 1:
        return LoadUint8();
    case 2:
        return LoadUint16();
    case 4:
        return static_cast<int>(LoadUint32());
    case 8:
        return static_cast<int>(static_cast<wxUint32>(LoadUint64()));
    default:
        if (IsOk())
            LogError(kErrorOther, kMessageUnknownIntSizeRead);
        return 0;
    }
}

int wxSerialize::LoadInt()
{
    const unsigned char size = LoadUint8();
    if (!IsOk())
        return 0;
    return LoadSizedInt(size);
}

void wxSerialize::LoadIntInt(int& value1, int& value2)
{
    value1 = 0;
    value2 = 0;
    const unsigned char size = LoadUint8();
    if (!IsOk())
        return;
    value1 = LoadSizedInt(size);
    value2 = LoadSizedInt(size);
}

void wxSerialize::LoadUnits(wxUint32 count, wxString& text)
{
    if (count == 0 || !CheckAvailable(wxUint64(count) * 2))
        return;
    unsigned char bytes[kPiece];
    wchar_t chars[kPiece / 2 + 1];
    text.reserve(std::min<size_t>(count, kPiece));
    wxUint32 high = 0;
    while (count != 0)
    {
        const size_t units = std::min<size_t>(count, kPiece / 2);
        if (!LoadBytes(bytes, units * 2))
            break;
        count -= static_cast<wxUint32>(units);
        size_t used = 0;
        for (size_t i = 0; i < units; ++i)
        {
            const wxUint32 unit = kxGetBE16(bytes + 2 * i);
            if (high != 0)
            {
                if (kxIsLowSurrogate(unit))
                {
                    chars[used++] = static_cast<wchar_t>(kxJoinSurrogates(high, unit));
                    high = 0;
                    continue;
                }
                chars[used++] = static_cast<wchar_t>(high);
                high = 0;
            }
            if (kxIsHighSurrogate(unit))
                high = unit;
            else
                chars[used++] = static_cast<wchar_t>(unit);
        }
        text.append(chars, used);
    }
    // A lone high surrogate stays as it was, so the text writes back unchanged.
    if (high != 0)
        text += static_cast<wchar_t>(high);
}

wxString wxSerialize::LoadUniString()
{
    wxString text;
    const wxUint32 count = LoadUint32();
    if (IsOk())
        LoadUnits(count, text);
    return text;
}

wxArrayString wxSerialize::LoadArrayString()
{
    const wxUint32 count = LoadUint32();
    if (!IsOk())
        return wxArrayString();
    return LoadStrings(count);
}

wxArrayString wxSerialize::LoadStrings(wxUint32 count)
{
    wxArrayString array;
    // Every element takes at least its four-byte count.
    if (!CheckAvailable(wxUint64(count) * 4))
        return array;
    array.reserve(std::min<size_t>(count, kPiece));
    for (wxUint32 i = 0; i < count && IsOk(); ++i)
        array.push_back(LoadUniString());
    return array;
}

wxArrayInt wxSerialize::LoadArrayInt()
{
    const wxUint32 count = LoadUint32();
    if (!IsOk())
        return wxArrayInt();
    return LoadInts(count);
}

wxArrayInt wxSerialize::LoadInts(wxUint32 count)
{
    wxArrayInt array;
    if (!CheckAvailable(wxUint64(count) * 4))
        return array;
    array.reserve(std::min<size_t>(count, kPiece));
    unsigned char bytes[kPiece];
    while (count != 0 && CanLoad())
    {
        const size_t values = std::min<size_t>(count, kPiece / 4);
        if (!LoadBytes(bytes, values * 4))
            break;
        for (size_t i = 0; i < values; ++i)
            array.push_back(static_cast<int>(kxGetBE32(bytes + 4 * i)));
        count -= static_cast<wxUint32>(values);
    }
    return array;
}

wxDateTime wxSerialize::LoadDateTime()
{
    unsigned char bytes[kDateTimeSize];
    if (!CanLoad() || !LoadBytes(bytes, sizeof bytes))
        return wxDateTime();
    return GetDate(bytes);
}

void wxSerialize::Load(wxMemoryBuffer& buffer)
{
    const wxUint32 length = LoadUint32();
    if (!IsOk())
        return;
    if (length != 0 && !CheckAvailable(length))
        return;
    // A stream that knows its length has been checked to hold the bytes; any other gets room
    // as the bytes arrive, so one that ends early has cost no more than it supplied.
    const bool known = m_idstr.GetLength() != wxInvalidOffset;
    size_t done = 0;
    while (done < length && CanLoad())
    {
        const size_t now = known ? length - done : std::min<size_t>(length - done, 16 * kPiece);
        if (buffer.GetBufSize() < done + now)
        {
            const size_t all = size_t(length) + 1024;
            const size_t grown = std::max(done + now, 2 * buffer.GetBufSize());
            buffer.SetBufSize(known ? all : std::min(grown, all));
        }
        m_idstr.Read(static_cast<char*>(buffer.GetData()) + done, now);
        const size_t got = m_idstr.LastRead();
        done += got;
        if (got != now)
        {
            LogError(kErrorEnd, kMessageEndOfStream);
            break;
        }
    }
    buffer.SetDataLen(done);
}

wxBitmap wxSerialize::LoadBitmap()
{
    wxMemoryBuffer bytes;
    if (!CanLoad() || LoadChunkHeader(kTagRecord) != kTagRecord)
        return wxBitmap();
    Load(bytes);
    if (!IsOk() || bytes.GetDataLen() == 0)
        return wxBitmap();
    AddImageHandlers();
    wxMemoryInputStream input(bytes.GetData(), bytes.GetDataLen());
    wxImage image;
    {
        // The toolkit's decoders complain about bad data themselves; the caller learns it
        // from the read's result instead.
        wxLogNull quiet;
        if (!image.LoadFile(input, wxBITMAP_TYPE_ANY) || !image.IsOk())
            return wxBitmap();
    }
    return wxBitmap(image);
}
