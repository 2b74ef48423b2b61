// Socket settings the toolkit's socket classes leave to the system, for network code above the
// platform layer (the library's own command channel, and hosts that want the same).
#ifndef KXRUZOVORI_KXHELPERS_KXSOCKET_H
#define KXRUZOVORI_KXHELPERS_KXSOCKET_H

#include "kxRuzoVori/kxExport.h"

#include <wx/socket.h>

/// Sends small writes at once instead of holding them back until the peer acknowledged the
/// previous ones; false when the system refused.
KX_API bool kxSetSocketNoDelay(wxSocketBase& socket);

#endif
