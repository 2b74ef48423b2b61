// Thrown by the tray icon, so a host can catch their failures apart from the rest.
#ifndef KXRUZOVORI_CORE_KXTASKBARICONEXCEPTION_H
#define KXRUZOVORI_CORE_KXTASKBARICONEXCEPTION_H

#include "kxRuzoVori/core/kxException.h"

KX_DECLARE_EXCEPTION(kxTaskBarIconException);

#endif
