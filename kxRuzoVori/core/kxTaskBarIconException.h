#ifndef KXRUZOVORI_CORE_KXTASKBARICONEXCEPTION_H
#define KXRUZOVORI_CORE_KXTASKBARICONEXCEPTION_H

#include "kxRuzoVori/core/kxException.h"

/// Reserved for the tray icon (class text "kxTaskBarIcon"), so a host can catch its failures
/// apart from the rest. The icon never throws it here: a desktop without a notification service
/// is not an error.
KX_DECLARE_EXCEPTION(kxTaskBarIconException);

#endif
