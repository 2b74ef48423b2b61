#ifndef KXRUZOVORI_CORE_KXAUITOOLBAREXCEPTION_H
#define KXRUZOVORI_CORE_KXAUITOOLBAREXCEPTION_H

#include "kxRuzoVori/core/kxException.h"

/// Thrown by the toolbar (class text "kxAuiToolbar"), so a host can catch its failures apart
/// from the rest.
KX_DECLARE_EXCEPTION(kxAuiToolbarException);

#endif
