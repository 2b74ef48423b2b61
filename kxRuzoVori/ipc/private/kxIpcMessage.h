// One message of the toolkit's IPC framing as it reaches the command server: a code byte, then
// per code an item (a length and UTF-8 bytes), a format byte and data (a length and bytes). The
// server cuts them from what a peer sent; every length is held against what the channel can
// carry as soon as it is seen, so that nothing is kept for a claim beyond it. Internal to the
// library.
#ifndef KXRUZOVORI_IPC_PRIVATE_KXIPCMESSAGE_H
#define KXRUZOVORI_IPC_PRIVATE_KXIPCMESSAGE_H

#include <wx/ipcbase.h>
#include <wx/string.h>

#include <cstddef>
#include <string>

class kxIpcMessage
{
public:
    // The message codes.
    enum Code
    {
        EXECUTE = 1,
        REQUEST = 2,
        POKE = 3,
        ADVISE_START = 4,
        ADVISE_STOP = 7,
        REQUEST_REPLY = 8,
        FAIL = 9,
        CONNECT = 10,
        DISCONNECT = 11
    };

    enum Status
    {
        // A whole message was read.
        COMPLETE,
        // The bytes end inside a message.
        INCOMPLETE,
        // No peer of the channel sends this: an unknown code or format, a greeting where none
        // belongs (or anything else where one does), or a length beyond the channel's bounds.
        MALFORMED
    };

    // The longest topic accepted, in bytes.
    static const size_t kTopicBytes = 64;
    // The longest item: a packet flag and 4096 UTF-16 code units of text, none of which takes
    // more than three bytes of UTF-8.
    static const size_t kItemBytes = 1 + 4096 * 3;
    // The longest data: an item's worth of text and its terminating zero.
    static const size_t kDataBytes = kItemBytes + 1;
    // The longest message the server reads: a poke with the longest item and data.
    static const size_t kMessageBytes = 1 + 4 + kItemBytes + 1 + 4 + kDataBytes;

    // Reads the message at the start of bytes; greeting tells whether it must be the greeting
    // (a CONNECT with the topic in the item). On COMPLETE the message is stored here and used
    // tells how many bytes it took.
    Status Parse(const char* bytes, size_t size, bool greeting, size_t& used);

    // The text of bytes, which must be valid UTF-8; false when they are not.
    static bool ToText(const std::string& bytes, wxString& text);

    // Appends a message that is nothing but its code.
    static void AppendCode(std::string& out, Code code);
    // Appends the reply to a request: its code and data.
    static void AppendReply(std::string& out, const char* data, size_t size);

    Code m_code = FAIL;
    wxIPCFormat m_format = wxIPC_INVALID;
    std::string m_item;
    std::string m_data;
};

#endif
