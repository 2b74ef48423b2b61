// Thrown by the controls bound to settings, so a host can catch their failures apart from the rest.
#ifndef KXRUZOVORI_CORE_KXSETTINGCONTROLEXCEPTION_H
#define KXRUZOVORI_CORE_KXSETTINGCONTROLEXCEPTION_H

#include "kxRuzoVori/core/kxException.h"

KX_DECLARE_EXCEPTION(kxSettingControlException);

#endif
