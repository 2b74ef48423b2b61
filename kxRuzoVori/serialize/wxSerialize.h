#ifndef KXRUZOVORI_SERIALIZE_WXSERIALIZE_H
#define KXRUZOVORI_SERIALIZE_WXSERIALIZE_H

#include "kxRuzoVori/kxExport.h"

#include <wx/arrstr.h>
#include <wx/bitmap.h>
#include <wx/buffer.h>
#include <wx/datetime.h>
#include <wx/dynarray.h>
#include <wx/gdicmn.h>
#include <wx/longlong.h>
#include <wx/sstream.h>
#include <wx/stream.h>
#include <wx/string.h>

#include <cstddef>

/// A tagged binary stream: writes typed values to a toolkit output stream, or reads them back from
/// an input stream, in a compact big-endian format that starts with a header text and a version.
/// Every value carries a one-byte type tag so a reader can check what it reads, and objects can be
/// bracketed by enter/leave markers so that a reader of another layout can skip what it does not
/// know. It never throws: the first error is recorded and logged, and every later operation then
/// fails quietly.
class KX_API wxSerialize
{
public:
    /// A writer on stream: writes the header (header text, then version) at once.
    wxSerialize(wxOutputStream& stream, unsigned int version = 0,
                const wxString& header = wxEmptyString, bool partialMode = false);
    /// A reader on stream: reads and checks the header at once. Version 0 accepts any version
    /// and an empty header accepts any header text; otherwise the stream's header must equal
    /// header and its version must not be newer than version.
    wxSerialize(wxInputStream& stream, unsigned int version = 0,
                const wxString& header = wxEmptyString, bool partialMode = false);
    wxSerialize(const wxSerialize&) = delete;
    wxSerialize& operator=(const wxSerialize&) = delete;
    /// Leaves the stream open and where it stands: it is the host's.
    virtual ~wxSerialize();

    /// No error recorded and the stream in use reports itself fine.
    bool IsOk() const;
    /// A reader's stream is at its end; always false for a writer.
    bool Eof() const;
    ///@{
    /// The guards every write and read passes first: true while the stream is open for that
    /// direction and no error was recorded (a wrong direction records one).
    bool CanStore();
    bool CanLoad();
    ///@}

    ///@{
    /// The version of the stream format this class writes, 1.2, as numbers and as "1.2".
    static int GetLibVersionMajor() { return 1; }
    static int GetLibVersionMinor() { return 2; }
    static wxString GetLibVersionString();
    ///@}

    /// Back to the unopened state: every later operation fails.
    void InitAll();

    /// 0 without error, -1 when the stream ended before a read, -2 for every other error.
    int GetErrorCode() const { return m_errorCode; }
    /// The message of the first error; empty while there is none.
    const wxString& GetErrorMessage() const { return m_errMsg; }
    /// The partial mode given when the stream was made; kept for the host, it changes nothing.
    bool IsPartialMode() const { return m_partialMode; }
    ///@{
    /// 0 and empty until the header was written or accepted, then its version and header text.
    wxUint32 GetStatusVersion() const { return m_status.m_version; }
    const wxString& GetStatusHeader() const { return m_status.m_header; }
    ///@}
    /// A reader looking for an object marker had to pass over items.
    bool IsStatusSkipped() const { return m_status.m_skipped; }

    ///@{
    /// Writes the value behind its type tag (integers big-endian, texts as UTF-16 code units);
    /// returns IsOk() after writing.
    bool WriteBool(bool value);
    bool WriteUint8(unsigned char value);
    bool WriteUint16(unsigned short value);
    bool WriteUint32(unsigned int value);
    bool WriteUint64(unsigned long long value);
    bool WriteInt(int value);
    bool WriteIntInt(int value1, int value2);
    bool WriteLongLong(const wxLongLongNative& value);
    bool WriteDouble(double value);
    bool WriteString(const wxString& value);
    bool WriteArrayString(const wxArrayString& value);
    bool WriteArrayInt(const wxArrayInt& value);
    bool WriteDateTime(const wxDateTime& value);
    bool Write(const wxMemoryBuffer& buffer);
    ///@}
    /// Writes the bitmap as PNG (JPEG when PNG fails); false, with nothing written, when it can
    /// be encoded as neither.
    bool WriteBitmap(const wxBitmap& bitmap);

    ///@{
    /// Reads a value written by the matching writer. Each assigns value only when it returns
    /// true; another tag where this one was expected, a short stream or a size claim the stream
    /// cannot hold records an error and gives false.
    bool ReadBool(bool& value);
    bool ReadUint8(unsigned char& value);
    bool ReadUint16(unsigned short& value);
    bool ReadUint32(unsigned int& value);
    bool ReadUint64(unsigned long long& value);
    bool ReadInt(int& value);
    bool ReadIntInt(int& value1, int& value2);
    bool ReadLongLong(wxLongLongNative& value);
    bool ReadDouble(double& value);
    bool ReadString(wxString& value);
    bool ReadArrayString(wxArrayString& value);
    bool ReadArrayInt(wxArrayInt& value);
    bool ReadDateTime(wxDateTime& value);
    ///@}
    /// True as soon as the record's tag matched; check IsOk() for the bytes themselves.
    bool Read(wxMemoryBuffer& buffer);
    /// Reads a bitmap written by WriteBitmap(); false, leaving bitmap alone, when the record is
    /// missing. A record that holds no image (or nothing) is read as one: the result is true and
    /// bitmap becomes an invalid bitmap, which its IsOk() tells.
    bool ReadBitmap(wxBitmap& bitmap);

    ///@{
    /// Writes the value as the matching Write...() does (a wxSize or wxPoint as two ints, a
    /// character pointer as a string) and returns the stream for chaining; check IsOk() at the
    /// end.
    virtual wxSerialize& operator<<(unsigned char value);
    virtual wxSerialize& operator<<(unsigned short value);
    virtual wxSerialize& operator<<(unsigned int value);
    virtual wxSerialize& operator<<(wxLongLongNative value);
    virtual wxSerialize& operator<<(unsigned long long value);
    virtual wxSerialize& operator<<(int value);
    virtual wxSerialize& operator<<(const wxString& value);
    virtual wxSerialize& operator<<(const wxArrayInt& value);
    virtual wxSerialize& operator<<(const wxArrayString& value);
    virtual wxSerialize& operator<<(const wchar_t* value);
    virtual wxSerialize& operator<<(bool value);
    virtual wxSerialize& operator<<(double value);
    virtual wxSerialize& operator<<(const wxDateTime& value);
    virtual wxSerialize& operator<<(const wxBitmap& value);
    virtual wxSerialize& operator<<(const wxSize& value);
    virtual wxSerialize& operator<<(const wxPoint& value);
    ///@}
    /// A narrow literal would otherwise be written silently as a bool: it does not compile (a
    /// deliberate deviation), so the host says which text it means (wxString::FromUTF8, a wide
    /// literal).
    wxSerialize& operator<<(const char* value) = delete;

    ///@{
    /// Reads the value as the matching Read...() does and returns the stream for chaining; a
    /// failed read leaves value alone, so check IsOk() at the end.
    virtual wxSerialize& operator>>(unsigned char& value);
    virtual wxSerialize& operator>>(unsigned short& value);
    virtual wxSerialize& operator>>(unsigned int& value);
    virtual wxSerialize& operator>>(wxLongLongNative& value);
    virtual wxSerialize& operator>>(unsigned long long& value);
    virtual wxSerialize& operator>>(int& value);
    virtual wxSerialize& operator>>(wxString& value);
    virtual wxSerialize& operator>>(wxArrayInt& value);
    virtual wxSerialize& operator>>(wxArrayString& value);
    virtual wxSerialize& operator>>(bool& value);
    virtual wxSerialize& operator>>(double& value);
    virtual wxSerialize& operator>>(wxBitmap& value);
    virtual wxSerialize& operator>>(wxDateTime& value);
    virtual wxSerialize& operator>>(wxSize& value);
    virtual wxSerialize& operator>>(wxPoint& value);
    ///@}

    ///@{
    /// A writer writes an enter or leave marker; a reader moves to just after the next enter
    /// marker, or just after the leave marker of the current object, passing over what lies
    /// between (IsStatusSkipped() then says so). This is how a newer writer's extra fields are
    /// skipped by an older reader. Returns IsOk().
    bool EnterObject();
    bool LeaveObject();
    ///@}

protected:
    ///@{
    /// A reader's search for the next enter marker, or for the leave marker of the current
    /// object, passing over the items between.
    void FindCurrentEnterLevel();
    void FindCurrentLeaveLevel();
    ///@}

    ///@{
    /// Untagged writers, big-endian; each writes only while CanStore() holds.
    void SaveChar(unsigned char value);
    void SaveUint8(unsigned char value);
    void SaveUint16(wxUint16 value);
    void SaveUint32(wxUint32 value);
    void SaveUint64(wxUint64 value);
    ///@}
    /// The number of UTF-16 code units, then the units.
    void SaveString(const wxString& value);

    ///@{
    /// Untagged readers; each gives 0, false, empty or an invalid date when CanLoad() fails.
    unsigned char LoadChar();
    unsigned char LoadUint8();
    wxUint16 LoadUint16();
    wxUint32 LoadUint32();
    wxUint64 LoadUint64();
    wxLongLongNative LoadLongLong();
    bool LoadBool();
    double LoadDouble();
    int LoadInt();
    void LoadIntInt(int& value1, int& value2);
    wxString LoadUniString();
    wxArrayString LoadArrayString();
    wxArrayInt LoadArrayInt();
    wxDateTime LoadDateTime();
    wxBitmap LoadBitmap();
    void Load(wxMemoryBuffer& buffer);
    ///@}

    /// The tag that was read when it is expected; 0 without reading when the stream cannot be
    /// read or a marker is pending, 0 with the marker pending when one was met, -1 (and an
    /// error) for any other tag.
    int LoadChunkHeader(int expected);
    /// Passes over the payload of an item whose tag was already read.
    void SkipData(unsigned char tag);
    /// The type name of a tag, for messages.
    static wxString GetHeaderName(int tag);
    /// Records the first error (code not 0) and logs its message; returns the code in force.
    int LogError(int code, int messageIndex, const wxString& s1 = wxEmptyString,
                 const wxString& s2 = wxEmptyString);

private:
    struct Status
    {
        wxUint32 m_version = 0;
        wxString m_header;
        bool m_skipped = false;
    };

    /// One value of size bytes, as LoadInt() reads it after its size byte.
    int LoadSizedInt(unsigned char size);
    void ReadHeader(unsigned int version, const wxString& header);
    /// Writes bytes as one piece when CanStore() holds.
    void SaveBytes(const void* data, size_t size);
    /// Reads exactly size bytes; a stream that ends first is an end-of-stream error.
    bool LoadBytes(void* data, size_t size);
    /// Bytes left in a stream of the given length, or -1 when that is not known.
    wxFileOffset GetRemaining(wxFileOffset length) const;
    /// False, with an error, when the stream is known to hold fewer than size bytes.
    bool CheckAvailable(wxUint64 size);
    /// The tag check and then size payload bytes; true only when both were had.
    bool LoadItem(int expected, unsigned char* payload, size_t size);
    /// The elements of an array whose count was read.
    wxArrayString LoadStrings(wxUint32 count);
    wxArrayInt LoadInts(wxUint32 count);
    /// Reads count UTF-16 code units into text, in bounded pieces.
    void LoadUnits(wxUint32 count, wxString& text);
    /// Reads and drops size bytes, in bounded pieces.
    void SkipBytes(wxUint64 size);

    /// Both stream references must always refer to a live stream; the one a writer does not
    /// read and the one a reader does not write are these empty ones.
    wxString m_unusedText;
    wxStringOutputStream m_unusedOutput;
    wxStringInputStream m_unusedInput;

    int m_errorCode;
    wxString m_errMsg;
    wxString m_header;
    wxUint32 m_version;
    bool m_opened;
    bool m_partialMode;
    bool m_writeMode;
    wxOutputStream& m_odstr;
    wxInputStream& m_idstr;
    int m_objectLevel;
    bool m_haveBoundary;
    unsigned char m_lastBoundary;
    Status m_status;
    /// The input's length when the reader was made: whole items are read in one piece while
    /// it shows them to be there.
    wxFileOffset m_inputLength;
};

#endif
