// Mail may use core's private helpers and the platform layer, nothing else of core.
#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/core/private/kxBase64.h"
#include "kxRuzoVori/platform/kxPlatformSocket.h"
