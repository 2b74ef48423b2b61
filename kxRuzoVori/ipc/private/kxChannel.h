// What both ends of the command channel share: the topic, the key of the identity proof and the
// proof itself. Internal to the library.
#ifndef KXRUZOVORI_IPC_KXCHANNEL_H
#define KXRUZOVORI_IPC_KXCHANNEL_H

#include <wx/buffer.h>
#include <wx/string.h>

namespace kxChannel
{
// The one topic a server accepts.
extern const wxChar* const kTopic;

// The 24 bytes (three DES keys) server and client both use for the identity proof.
const char* GetKey();

// Today's local date as "YYYY-MM-DD".
wxString GetToday();

// The identity proof of a date: the text padded with blanks to 16 bytes, enciphered as two
// blocks with the channel key.
wxMemoryBuffer EncipherDate(const wxString& date);

// The inverse of EncipherDate: the date text with its padding removed. proof must hold 16
// bytes.
wxString DecipherDate(const wxMemoryBuffer& proof);
} // namespace kxChannel

#endif
