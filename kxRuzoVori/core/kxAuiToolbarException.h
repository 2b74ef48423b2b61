// Thrown by the toolbar, so a host can catch their failures apart from the rest.
#ifndef KXRUZOVORI_CORE_KXAUITOOLBAREXCEPTION_H
#define KXRUZOVORI_CORE_KXAUITOOLBAREXCEPTION_H

#include "kxRuzoVori/core/kxException.h"

KX_DECLARE_EXCEPTION(kxAuiToolbarException);

#endif
