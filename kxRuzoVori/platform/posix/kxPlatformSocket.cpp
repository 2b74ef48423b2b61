// Socket options on POSIX systems.
#include "kxRuzoVori/platform/kxPlatformSocket.h"

#include <netinet/in.h>
#include <netinet/tcp.h>

namespace kxPlatform
{
bool SetSocketNoDelay(wxSocketBase& socket)
{
    int on = 1;
    return socket.IsOk() && socket.SetOption(IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool IsSocketNoDelay(wxSocketBase& socket)
{
    int value = 0;
    int size = sizeof value;
    return socket.IsOk() && socket.GetOption(IPPROTO_TCP, TCP_NODELAY, &value, &size) && value != 0;
}
} // namespace kxPlatform
