// Helpers of the serialization stream tests: bytes in and out of memory streams, streams that
// misbehave on purpose, and a log catcher.
#ifndef KXTESTS_WXSERIALIZESUPPORT_H
#define KXTESTS_WXSERIALIZESUPPORT_H

#include "kxRuzoVori/locale/kxLogString.h"

#include <wx/mstream.h>
#include <wx/stream.h>
#include <wx/string.h>

#include <string>

// The bytes written so far to a memory stream.
std::string BytesOf(const wxMemoryOutputStream& stream);
// Bytes from hexadecimal digits; spaces are ignored.
std::string FromHex(const std::string& hex);
// Upper-case hexadecimal digits of bytes, no separators.
std::string ToHex(const std::string& bytes);

// Serves bytes without telling its length, as a pipe or socket would.
class UnsizedInputStream : public wxInputStream
{
public:
    explicit UnsizedInputStream(const std::string& bytes) : m_bytes(bytes) {}
    size_t GetServed() const { return m_position; }

protected:
    size_t OnSysRead(void* buffer, size_t size) override;

private:
    std::string m_bytes;
    size_t m_position = 0;
};

// Reports its end before anything was read, while still reporting itself fine.
class EndedInputStream : public wxInputStream
{
public:
    bool Eof() const override { return true; }

protected:
    size_t OnSysRead(void*, size_t) override { return 0; }
};

// Accepts limit bytes, then fails every write; with limit 0 it is broken from the start.
class FailingOutputStream : public wxOutputStream
{
public:
    explicit FailingOutputStream(size_t limit);

protected:
    size_t OnSysWrite(const void* buffer, size_t size) override;

private:
    size_t m_left;
};

// Collects the toolkit's error log while it lives, without time stamps.
class LogCatcher
{
public:
    LogCatcher();
    ~LogCatcher();
    const wxString& GetText() const { return m_log.m_text; }

private:
    kxLogString m_log;
    wxLog* m_old;
    wxString m_oldStamp;
};

#endif
