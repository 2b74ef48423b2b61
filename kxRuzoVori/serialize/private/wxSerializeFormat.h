// The serialization stream's wire format: the item tags and sizes, the error codes and messages
// the stream records, the layouts of doubles and dates, and the buffer that gathers an item's
// bytes so that it goes to the stream in one piece.
#ifndef KXRUZOVORI_SERIALIZE_PRIVATE_WXSERIALIZEFORMAT_H
#define KXRUZOVORI_SERIALIZE_PRIVATE_WXSERIALIZEFORMAT_H

#include "kxRuzoVori/core/private/kxBytes.h"
#include "kxRuzoVori/core/private/kxUtf.h"

#include <wx/datetime.h>
#include <wx/stream.h>
#include <wx/string.h>

#include <cstddef>

namespace wxSerializeFormat
{
// Item tags.
const unsigned char kTagBool = 'b';
const unsigned char kTagUint8 = 'c';
const unsigned char kTagUint16 = 'w';
const unsigned char kTagUint32 = 'l';
const unsigned char kTagUint64 = 'q';
const unsigned char kTagInt = 'i';
const unsigned char kTagIntInt = 'I';
const unsigned char kTagLongLong = 'L';
const unsigned char kTagDouble = 'd';
const unsigned char kTagString = 's';
const unsigned char kTagArrayString = 'a';
const unsigned char kTagArrayInt = 'A';
const unsigned char kTagDateTime = 't';
const unsigned char kTagRecord = 'r';
const unsigned char kTagBitmap = 'B';
const unsigned char kTagEnter = '<';
const unsigned char kTagLeave = '>';

const size_t kDoubleSize = 10;
const size_t kDateTimeSize = 9;
// The largest payload read together with its tag.
const size_t kMaxFixedSize = 10;
// Counts read from a stream of unknown length are honoured this many bytes at a time, so a
// corrupt count costs at most one piece before the stream runs dry.
const size_t kPiece = 4096;

// The stream's error codes: an end met before a read, and every other error.
const int kErrorEnd = -1;
const int kErrorOther = -2;

// The messages an error is recorded with, by their place in the table of message texts.
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

// The x87 extended layout of value at p, big-endian: sign and 15-bit exponent, then the 64-bit
// mantissa with its explicit integer bit. Every double, zeros, subnormals, infinities and NaNs
// included, has an exact image there. Returns the place after it.
unsigned char* PutExtended(unsigned char* p, double value);
// The double nearest to the extended value at p, rounding half to even; unnormal and pseudo
// forms are read for the value they denote.
double GetExtended(const unsigned char* p);

// UTF-16 code units of text: characters above U+FFFF take two.
wxUint32 CountUnits(const wxString& text);

// A date as kDateTimeSize bytes: day, month (0-11), year (16 bits), hour, minute, second and
// millisecond (16 bits), local time; an invalid date is all zeros.
void PutDate(unsigned char* p, const wxDateTime& value);
// The date those bytes stand for; invalid for day 0 and for fields no calendar has.
wxDateTime GetDate(const unsigned char* p);

// The image handlers the stream needs, added when the host has not added them itself.
void AddImageHandlers();

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
    unsigned char m_buffer[kPiece];
    size_t m_length = 0;
};

} // namespace wxSerializeFormat

#endif
