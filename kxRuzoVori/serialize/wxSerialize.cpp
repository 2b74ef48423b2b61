#include "kxRuzoVori/serialize/wxSerialize.h"

#include "kxRuzoVori/core/private/kxBytes.h"
#include "kxRuzoVori/core/private/kxUtf.h"

#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <algorithm>
#include <cstring>

namespace
{
// Item tags.
const unsigned char TAG_BOOL = 'b';
const unsigned char TAG_UINT8 = 'c';
const unsigned char TAG_UINT16 = 'w';
const unsigned char TAG_UINT32 = 'l';
const unsigned char TAG_UINT64 = 'q';
const unsigned char TAG_INT = 'i';
const unsigned char TAG_INTINT = 'I';
const unsigned char TAG_LONGLONG = 'L';
const unsigned char TAG_DOUBLE = 'd';
const unsigned char TAG_STRING = 's';
const unsigned char TAG_ARRSTRING = 'a';
const unsigned char TAG_ARRINT = 'A';
const unsigned char TAG_DATETIME = 't';
const unsigned char TAG_RECORD = 'r';
const unsigned char TAG_BITMAP = 'B';
const unsigned char TAG_ENTER = '<';
const unsigned char TAG_LEAVE = '>';

const size_t DOUBLE_SIZE = 10;
const size_t DATETIME_SIZE = 9;
// The largest payload read together with its tag.
const size_t MAX_FIXED_SIZE = 10;
// Counts read from a stream of unknown length are honoured this many bytes at a time, so a
// corrupt count costs at most one piece before the stream runs dry.
const size_t PIECE = 4096;

// The stream's error codes: an end met before a read, and every other error.
const int kErrorEnd = -1;
const int kErrorOther = -2;

// The messages an error is recorded with, by their place in kErrorMessages.
enum Message
{
    kMessageWrongHeader,
    kMessageBadVersion,
    kMessageBadInput,
    kMessageBadOutput,
    kMessageHeaderNotWritten,
    kMessageNoHeader,
    kMessageNoVersion,
    kMessageWriteWhileReading,
    kMessageReadWhileWriting,
    kMessageEndOfStream,
    kMessageWrongType,
    kMessageNoMemory,
    kMessageBadRecordSize,
    kMessageUnknownIntSizeRead,
    kMessageUnknownIntSizeWrite,
    kMessageLeaveWithoutEnter,
    kMessageUnknownTag,
    kMessageLevelBelowZero,
    kMessageCount
};

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

int CountLeadingZeros(wxUint64 v)
{
    int n = 0;
    for (wxUint64 bit = wxUint64(1) << 63; bit != 0 && (v & bit) == 0; bit >>= 1)
        ++n;
    return n;
}

// The x87 extended layout of value, big-endian: sign and 15-bit exponent, then the 64-bit
// mantissa with its explicit integer bit. Every double, zeros, subnormals, infinities and NaNs
// included, has an exact image there.
unsigned char* PutExtended(unsigned char* p, double value)
{
    wxUint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    const unsigned sign = static_cast<unsigned>(bits >> 63) << 15;
    const unsigned exponent = static_cast<unsigned>(bits >> 52) & 0x7FF;
    const wxUint64 fraction = bits & ((wxUint64(1) << 52) - 1);
    unsigned top = 0;
    wxUint64 mantissa = 0;
    if (exponent == 0x7FF)
    {
        // A NaN comes out quiet, as the hardware widens it; its payload stays.
        top = 0x7FFF;
        mantissa = (wxUint64(1) << 63) | (fraction << 11);
        if (fraction != 0)
            mantissa |= wxUint64(1) << 62;
    }
    else if (exponent != 0)
    {
        top = exponent + (16383 - 1023);
        mantissa = (wxUint64(1) << 63) | (fraction << 11);
    }
    else if (fraction != 0)
    {
        const int shift = CountLeadingZeros(fraction);
        top = static_cast<unsigned>(16383 - 1074 + 63 - shift);
        mantissa = fraction << shift;
    }
    p = kxPutBE16(p, static_cast<wxUint16>(sign | top));
    return kxPutBE64(p, mantissa);
}

// The double nearest to an extended value, rounding half to even; unnormal and pseudo forms
// are read for the value they denote.
double GetExtended(const unsigned char* p)
{
    const wxUint16 top = kxGetBE16(p);
    wxUint64 mantissa = kxGetBE64(p + 2);
    const wxUint64 sign = wxUint64(top >> 15) << 63;
    const int exponent = top & 0x7FFF;
    wxUint64 bits = sign;
    if (exponent == 0x7FFF)
    {
        wxUint64 fraction = (mantissa >> 11) & ((wxUint64(1) << 52) - 1);
        if ((mantissa << 1) != 0 && fraction == 0)
            fraction = wxUint64(1) << 51;
        bits |= (wxUint64(0x7FF) << 52) | fraction;
    }
    else if (mantissa != 0)
    {
        const int shift = CountLeadingZeros(mantissa);
        mantissa <<= shift;
        // Unbiased exponent of the leading one; the denormal exponent reads as 1.
        int unbiased = (exponent == 0 ? 1 : exponent) - 16383 - shift;
        if (unbiased > 1023)
        {
            bits |= wxUint64(0x7FF) << 52;
        }
        else
        {
            int drop = 11;
            if (unbiased < -1022)
                drop += -1022 - unbiased;
            wxUint64 kept = 0;
            bool up = false;
            if (drop < 64)
            {
                kept = mantissa >> drop;
                const wxUint64 rest = mantissa & ((wxUint64(1) << drop) - 1);
                const wxUint64 half = wxUint64(1) << (drop - 1);
                up = rest > half || (rest == half && (kept & 1) != 0);
            }
            else if (drop == 64)
            {
                up = mantissa > (wxUint64(1) << 63);
            }
            if (up)
                ++kept;
            if (unbiased < -1022)
            {
                // Subnormal: rounding up into the smallest normal sets the exponent field.
                bits |= kept;
            }
            else
            {
                if (kept == (wxUint64(1) << 53))
                {
                    kept >>= 1;
                    ++unbiased;
                }
                if (unbiased > 1023)
                    bits |= wxUint64(0x7FF) << 52;
                else
                    bits |= (wxUint64(unbiased + 1023) << 52) | (kept & ((wxUint64(1) << 52) - 1));
            }
        }
    }
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// UTF-16 code units of text: characters above U+FFFF take two.
wxUint32 CountUnits(const wxString& text)
{
    wxUint32 count = 0;
    for (wxString::const_iterator it = text.begin(); it != text.end(); ++it)
        count += wxUint32(*it) > 0xFFFF ? 2 : 1;
    return count;
}

// Collects small writes so that an item goes to the stream in one piece.
class ByteSink
{
public:
    explicit ByteSink(wxOutputStream& stream) : m_stream(stream) {}
    ~ByteSink() { Flush(); }
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    // Room for size more bytes (at most a piece).
    unsigned char* Reserve(size_t size)
    {
        if (m_length + size > sizeof m_buffer)
            Flush();
        return m_buffer + m_length;
    }
    void Commit(unsigned char* end) { m_length = static_cast<size_t>(end - m_buffer); }

    void Put8(unsigned char value)
    {
        unsigned char* p = Reserve(1);
        *p = value;
        Commit(p + 1);
    }
    void Put16(wxUint16 value) { Commit(kxPutBE16(Reserve(2), value)); }
    void Put32(wxUint32 value) { Commit(kxPutBE32(Reserve(4), value)); }
    void Put64(wxUint64 value) { Commit(kxPutBE64(Reserve(8), value)); }

    void PutUnits(const wxString& text)
    {
        for (wxString::const_iterator it = text.begin(); it != text.end(); ++it)
        {
            wxUint32 c = wxUint32(*it);
            unsigned char* p = Reserve(4);
            if (c > 0x10FFFF)
                c = 0xFFFD;
            if (c > 0xFFFF)
            {
                p = kxPutBE16(p, static_cast<wxUint16>(kxHighSurrogateOf(c)));
                p = kxPutBE16(p, static_cast<wxUint16>(kxLowSurrogateOf(c)));
            }
            else
            {
                p = kxPutBE16(p, static_cast<wxUint16>(c));
            }
            Commit(p);
        }
    }

    // A counted string: the number of code units, then the units.
    void PutString(const wxString& text)
    {
        Put32(CountUnits(text));
        PutUnits(text);
    }

    void Flush()
    {
        if (m_length != 0)
            m_stream.Write(m_buffer, m_length);
        m_length = 0;
    }

private:
    wxOutputStream& m_stream;
    unsigned char m_buffer[PIECE];
    size_t m_length = 0;
};

// The image handlers the stream needs, added when the host has not added them itself.
void AddImageHandlers()
{
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr)
        wxImage::AddHandler(new wxPNGHandler);
    if (wxImage::FindHandler(wxBITMAP_TYPE_JPEG) == nullptr)
        wxImage::AddHandler(new wxJPEGHandler);
}

bool IsValidDate(unsigned day, unsigned month, unsigned year, unsigned hour, unsigned minute,
                 unsigned second, unsigned millisecond)
{
    if (month > 11 || day < 1 || hour > 23 || minute > 59 || second > 59 || millisecond > 999)
        return false;
    return day <= wxDateTime::GetNumberOfDays(static_cast<wxDateTime::Month>(month),
                                              static_cast<int>(year));
}
wxDateTime DateFromBytes(const unsigned char* bytes)
{
    const unsigned day = bytes[0];
    const unsigned month = bytes[1];
    const unsigned year = kxGetBE16(bytes + 2);
    const unsigned hour = bytes[4];
    const unsigned minute = bytes[5];
    const unsigned second = bytes[6];
    const unsigned millisecond = kxGetBE16(bytes + 7);
    // An invalid date is written with day 0; fields no calendar has read back as invalid too.
    if (!IsValidDate(day, month, year, hour, minute, second, millisecond))
        return wxDateTime();
    return wxDateTime(static_cast<wxDateTime::wxDateTime_t>(day),
                      static_cast<wxDateTime::Month>(month), static_cast<int>(year),
                      static_cast<wxDateTime::wxDateTime_t>(hour),
                      static_cast<wxDateTime::wxDateTime_t>(minute),
                      static_cast<wxDateTime::wxDateTime_t>(second),
                      static_cast<wxDateTime::wxDateTime_t>(millisecond));
}
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
    case TAG_BOOL:
        return wxS("bool");
    case TAG_UINT8:
        return wxS("8bits uint");
    case TAG_DOUBLE:
        return wxS("double");
    case TAG_UINT32:
        return wxS("32bits uint");
    case TAG_UINT64:
        return wxS("64bits uint");
    case TAG_RECORD:
        return wxS("data record");
    case TAG_STRING:
        return wxS("string");
    case TAG_UINT16:
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
    unsigned char piece[PIECE];
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
    unsigned char bytes[DOUBLE_SIZE];
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
    unsigned char bytes[PIECE];
    wchar_t chars[PIECE / 2 + 1];
    text.reserve(std::min<size_t>(count, PIECE));
    wxUint32 high = 0;
    while (count != 0)
    {
        const size_t units = std::min<size_t>(count, PIECE / 2);
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
    array.reserve(std::min<size_t>(count, PIECE));
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
    array.reserve(std::min<size_t>(count, PIECE));
    unsigned char bytes[PIECE];
    while (count != 0 && CanLoad())
    {
        const size_t values = std::min<size_t>(count, PIECE / 4);
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
    unsigned char bytes[DATETIME_SIZE];
    if (!CanLoad() || !LoadBytes(bytes, sizeof bytes))
        return wxDateTime();
    return DateFromBytes(bytes);
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
        const size_t now = known ? length - done : std::min<size_t>(length - done, 16 * PIECE);
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
    if (!CanLoad() || LoadChunkHeader(TAG_RECORD) != TAG_RECORD)
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

// ---- tag check and skipping

int wxSerialize::LoadChunkHeader(int expected)
{
    if (!CanLoad() || m_haveBoundary)
        return 0;
    unsigned char tag = 0;
    LoadBytes(&tag, 1);
    if (tag == TAG_ENTER || tag == TAG_LEAVE)
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
    unsigned char bytes[1 + MAX_FIXED_SIZE];
    if (!LoadBytes(bytes, size + 1))
        return false;
    const unsigned char tag = bytes[0];
    if (tag == TAG_ENTER || tag == TAG_LEAVE)
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
    case TAG_BOOL:
    case TAG_UINT8:
        LoadUint8();
        break;
    case TAG_UINT16:
        LoadUint16();
        break;
    case TAG_UINT32:
        LoadUint32();
        break;
    case TAG_UINT64:
        LoadUint64();
        break;
    case TAG_INT:
        LoadInt();
        break;
    case TAG_INTINT:
    {
        int first;
        int second;
        LoadIntInt(first, second);
        break;
    }
    case TAG_DOUBLE:
        LoadDouble();
        break;
    case TAG_STRING:
    {
        const wxUint32 count = LoadUint32();
        if (IsOk())
            SkipBytes(wxUint64(count) * 2);
        break;
    }
    case TAG_ARRSTRING:
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
    case TAG_DATETIME:
        LoadDateTime();
        break;
    case TAG_RECORD:
    {
        const wxUint32 length = LoadUint32();
        if (IsOk())
            SkipBytes(length);
        break;
    }
    case TAG_ENTER:
    case TAG_LEAVE:
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
        SaveChar(TAG_ENTER);
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
        SaveChar(TAG_LEAVE);
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
    unsigned char tag;
    if (m_haveBoundary)
    {
        m_haveBoundary = false;
        if (m_lastBoundary == TAG_ENTER)
            return;
        // A leave marker already met where an object should start: the loop below reports it.
        tag = m_lastBoundary;
    }
    else
    {
        tag = LoadChar();
    }
    while (IsOk())
    {
        if (tag == TAG_ENTER)
            return;
        m_status.m_skipped = true;
        if (tag == TAG_LEAVE)
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
        if (m_lastBoundary == TAG_LEAVE)
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
        if (tag == TAG_ENTER)
            ++depth;
        else if (tag == TAG_LEAVE)
            --depth;
    }
}

// ---- tagged writers

bool wxSerialize::WriteBool(bool value)
{
    if (CanStore())
    {
        const unsigned char bytes[] = {TAG_BOOL, static_cast<unsigned char>(value ? 1 : 0)};
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteUint8(unsigned char value)
{
    if (CanStore())
    {
        const unsigned char bytes[] = {TAG_UINT8, value};
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteUint16(unsigned short value)
{
    if (CanStore())
    {
        unsigned char bytes[3] = {TAG_UINT16};
        kxPutBE16(bytes + 1, value);
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteUint32(unsigned int value)
{
    if (CanStore())
    {
        unsigned char bytes[5] = {TAG_UINT32};
        kxPutBE32(bytes + 1, value);
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteUint64(unsigned long long value)
{
    if (CanStore())
    {
        unsigned char bytes[9] = {TAG_UINT64};
        kxPutBE64(bytes + 1, value);
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteInt(int value)
{
    if (CanStore())
    {
        unsigned char bytes[6] = {TAG_INT, 4};
        kxPutBE32(bytes + 2, static_cast<wxUint32>(value));
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteIntInt(int value1, int value2)
{
    if (CanStore())
    {
        unsigned char bytes[10] = {TAG_INTINT, 4};
        kxPutBE32(kxPutBE32(bytes + 2, static_cast<wxUint32>(value1)),
                  static_cast<wxUint32>(value2));
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteLongLong(const wxLongLongNative& value)
{
    if (CanStore())
    {
        unsigned char bytes[9] = {TAG_LONGLONG};
        kxPutBE64(bytes + 1, static_cast<wxUint64>(value.GetValue()));
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteDouble(double value)
{
    if (CanStore())
    {
        unsigned char bytes[1 + DOUBLE_SIZE] = {TAG_DOUBLE};
        PutExtended(bytes + 1, value);
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteString(const wxString& value)
{
    if (CanStore())
    {
        ByteSink sink(m_odstr);
        sink.Put8(TAG_STRING);
        sink.PutString(value);
    }
    return IsOk();
}

bool wxSerialize::WriteArrayString(const wxArrayString& value)
{
    if (CanStore())
    {
        ByteSink sink(m_odstr);
        sink.Put8(TAG_ARRSTRING);
        sink.Put32(static_cast<wxUint32>(value.size()));
        for (const wxString& text : value)
            sink.PutString(text);
    }
    return IsOk();
}

bool wxSerialize::WriteArrayInt(const wxArrayInt& value)
{
    if (CanStore())
    {
        ByteSink sink(m_odstr);
        sink.Put8(TAG_ARRINT);
        sink.Put32(static_cast<wxUint32>(value.size()));
        for (int number : value)
            sink.Put32(static_cast<wxUint32>(number));
    }
    return IsOk();
}

bool wxSerialize::WriteDateTime(const wxDateTime& value)
{
    if (CanStore())
    {
        unsigned char bytes[1 + DATETIME_SIZE] = {TAG_DATETIME};
        if (value.IsValid())
        {
            const wxDateTime::Tm tm = value.GetTm(wxDateTime::Local);
            bytes[1] = static_cast<unsigned char>(tm.mday);
            bytes[2] = static_cast<unsigned char>(tm.mon);
            kxPutBE16(bytes + 3, static_cast<wxUint16>(tm.year));
            bytes[5] = static_cast<unsigned char>(tm.hour);
            bytes[6] = static_cast<unsigned char>(tm.min);
            bytes[7] = static_cast<unsigned char>(tm.sec);
            kxPutBE16(bytes + 8, static_cast<wxUint16>(tm.msec));
        }
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::Write(const wxMemoryBuffer& buffer)
{
    if (CanStore())
    {
        const size_t length = buffer.GetDataLen();
        unsigned char bytes[5] = {TAG_RECORD};
        kxPutBE32(bytes + 1, static_cast<wxUint32>(length));
        m_odstr.Write(bytes, sizeof bytes);
        if (length != 0 && m_odstr.IsOk())
            m_odstr.Write(buffer.GetData(), length);
    }
    return IsOk();
}

bool wxSerialize::WriteBitmap(const wxBitmap& bitmap)
{
    if (!CanStore() || !bitmap.IsOk())
        return false;
    AddImageHandlers();
    const wxImage image = bitmap.ConvertToImage();
    if (!image.IsOk())
        return false;
    wxMemoryBuffer bytes;
    {
        // A failed encoding is answered by the fallback or the result, not by the log.
        wxLogNull quiet;
        const wxBitmapType types[] = {wxBITMAP_TYPE_PNG, wxBITMAP_TYPE_JPEG};
        for (wxBitmapType type : types)
        {
            wxMemoryOutputStream encoded;
            if (image.SaveFile(encoded, type) && encoded.GetLength() > 0)
            {
                const size_t length = static_cast<size_t>(encoded.GetLength());
                encoded.CopyTo(bytes.GetWriteBuf(length), length);
                bytes.UngetWriteBuf(length);
                break;
            }
        }
    }
    if (bytes.GetDataLen() == 0)
        return false;
    SaveChar(TAG_BITMAP);
    return Write(bytes);
}

// ---- tagged readers

bool wxSerialize::ReadBool(bool& value)
{
    unsigned char byte;
    if (!LoadItem(TAG_BOOL, &byte, 1) || !IsOk())
        return false;
    value = byte != 0;
    return true;
}

bool wxSerialize::ReadUint8(unsigned char& value)
{
    unsigned char byte;
    if (!LoadItem(TAG_UINT8, &byte, 1) || !IsOk())
        return false;
    value = byte;
    return true;
}

bool wxSerialize::ReadUint16(unsigned short& value)
{
    unsigned char bytes[2];
    if (!LoadItem(TAG_UINT16, bytes, sizeof bytes) || !IsOk())
        return false;
    value = kxGetBE16(bytes);
    return true;
}

bool wxSerialize::ReadUint32(unsigned int& value)
{
    unsigned char bytes[4];
    if (!LoadItem(TAG_UINT32, bytes, sizeof bytes) || !IsOk())
        return false;
    value = kxGetBE32(bytes);
    return true;
}

bool wxSerialize::ReadUint64(unsigned long long& value)
{
    unsigned char bytes[8];
    if (!LoadItem(TAG_UINT64, bytes, sizeof bytes) || !IsOk())
        return false;
    value = kxGetBE64(bytes);
    return true;
}

bool wxSerialize::ReadInt(int& value)
{
    unsigned char size;
    if (!LoadItem(TAG_INT, &size, 1))
        return false;
    const int loaded = LoadSizedInt(size);
    if (!IsOk())
        return false;
    value = loaded;
    return true;
}

bool wxSerialize::ReadIntInt(int& value1, int& value2)
{
    unsigned char size;
    if (!LoadItem(TAG_INTINT, &size, 1))
        return false;
    const int first = LoadSizedInt(size);
    const int second = LoadSizedInt(size);
    if (!IsOk())
        return false;
    value1 = first;
    value2 = second;
    return true;
}

bool wxSerialize::ReadLongLong(wxLongLongNative& value)
{
    unsigned char bytes[8];
    if (!LoadItem(TAG_LONGLONG, bytes, sizeof bytes) || !IsOk())
        return false;
    value = wxLongLongNative(static_cast<wxLongLong_t>(kxGetBE64(bytes)));
    return true;
}

bool wxSerialize::ReadDouble(double& value)
{
    unsigned char bytes[DOUBLE_SIZE];
    if (!LoadItem(TAG_DOUBLE, bytes, sizeof bytes) || !IsOk())
        return false;
    value = GetExtended(bytes);
    return true;
}

bool wxSerialize::ReadString(wxString& value)
{
    unsigned char count[4];
    if (!LoadItem(TAG_STRING, count, sizeof count))
        return false;
    wxString loaded;
    LoadUnits(kxGetBE32(count), loaded);
    if (!IsOk())
        return false;
    value.swap(loaded);
    return true;
}

bool wxSerialize::ReadArrayString(wxArrayString& value)
{
    unsigned char count[4];
    if (!LoadItem(TAG_ARRSTRING, count, sizeof count))
        return false;
    const wxArrayString loaded = LoadStrings(kxGetBE32(count));
    if (!IsOk())
        return false;
    value = loaded;
    return true;
}

bool wxSerialize::ReadArrayInt(wxArrayInt& value)
{
    unsigned char count[4];
    if (!LoadItem(TAG_ARRINT, count, sizeof count))
        return false;
    const wxArrayInt loaded = LoadInts(kxGetBE32(count));
    if (!IsOk())
        return false;
    value = loaded;
    return true;
}

bool wxSerialize::ReadDateTime(wxDateTime& value)
{
    unsigned char bytes[DATETIME_SIZE];
    if (!LoadItem(TAG_DATETIME, bytes, sizeof bytes) || !IsOk())
        return false;
    value = DateFromBytes(bytes);
    return true;
}

bool wxSerialize::Read(wxMemoryBuffer& buffer)
{
    if (LoadChunkHeader(TAG_RECORD) != TAG_RECORD)
        return false;
    Load(buffer);
    return true;
}

bool wxSerialize::ReadBitmap(wxBitmap& bitmap)
{
    if (LoadChunkHeader(TAG_BITMAP) == 0)
        return false;
    const wxBitmap loaded = LoadBitmap();
    if (!IsOk() || !loaded.IsOk())
        return false;
    bitmap = loaded;
    return true;
}

// ---- stream operators

wxSerialize& wxSerialize::operator<<(unsigned char value)
{
    WriteUint8(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(unsigned short value)
{
    WriteUint16(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(unsigned int value)
{
    WriteUint32(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(wxLongLongNative value)
{
    WriteLongLong(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(unsigned long long value)
{
    WriteUint64(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(int value)
{
    WriteInt(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxString& value)
{
    WriteString(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxArrayInt& value)
{
    WriteArrayInt(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxArrayString& value)
{
    WriteArrayString(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wchar_t* value)
{
    WriteString(value != nullptr ? wxString(value) : wxString());
    return *this;
}

wxSerialize& wxSerialize::operator<<(bool value)
{
    WriteBool(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(double value)
{
    WriteDouble(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxDateTime& value)
{
    WriteDateTime(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxBitmap& value)
{
    WriteBitmap(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxSize& value)
{
    WriteIntInt(value.GetWidth(), value.GetHeight());
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxPoint& value)
{
    WriteIntInt(value.x, value.y);
    return *this;
}

wxSerialize& wxSerialize::operator>>(unsigned char& value)
{
    ReadUint8(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(unsigned short& value)
{
    ReadUint16(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(unsigned int& value)
{
    ReadUint32(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxLongLongNative& value)
{
    ReadLongLong(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(unsigned long long& value)
{
    ReadUint64(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(int& value)
{
    ReadInt(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxString& value)
{
    ReadString(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxArrayInt& value)
{
    ReadArrayInt(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxArrayString& value)
{
    ReadArrayString(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(bool& value)
{
    ReadBool(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(double& value)
{
    ReadDouble(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxBitmap& value)
{
    ReadBitmap(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxDateTime& value)
{
    ReadDateTime(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxSize& value)
{
    int width;
    int height;
    if (ReadIntInt(width, height))
        value = wxSize(width, height);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxPoint& value)
{
    int x;
    int y;
    if (ReadIntInt(x, y))
        value = wxPoint(x, y);
    return *this;
}
