// Socket settings the toolkit's socket classes leave to the system. Exported for the library's
// own tests.
#ifndef KXRUZOVORI_PLATFORM_KXPLATFORMSOCKET_H
#define KXRUZOVORI_PLATFORM_KXPLATFORMSOCKET_H

#include "kxRuzoVori/kxExport.h"

#include <wx/socket.h>

namespace kxPlatform
{
// Sends small writes at once instead of holding them back until the peer acknowledged the
// previous ones. A protocol that writes a message in several pieces and then waits for the
// answer would otherwise wait for the peer's delayed acknowledgement on every message.
KX_API bool SetSocketNoDelay(wxSocketBase& socket);

// True when the option above is in force on socket.
KX_API bool IsSocketNoDelay(wxSocketBase& socket);
} // namespace kxPlatform

#endif
