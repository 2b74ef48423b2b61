// Socket settings the toolkit's socket classes leave to the system, for the library's own
// network code. Internal to the library.
#ifndef KXRUZOVORI_KXHELPERS_KXSOCKET_H
#define KXRUZOVORI_KXHELPERS_KXSOCKET_H

#include <wx/socket.h>

// Sends small writes at once instead of holding them back until the peer acknowledged the
// previous ones; false when the system refused.
bool kxSetSocketNoDelay(wxSocketBase& socket);

#endif
