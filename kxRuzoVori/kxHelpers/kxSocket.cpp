// Socket settings, passed on to the platform layer.
#include "kxRuzoVori/kxHelpers/kxSocket.h"

#include "kxRuzoVori/platform/kxPlatformSocket.h"

bool kxSetSocketNoDelay(wxSocketBase& socket)
{
    return kxPlatform::SetSocketNoDelay(socket);
}
