#ifndef KXRUZOVORI_CORE_KXSETTINGCONTROLEXCEPTION_H
#define KXRUZOVORI_CORE_KXSETTINGCONTROLEXCEPTION_H

#include "kxRuzoVori/core/kxException.h"

/// Thrown by the controls bound to settings (class text "Setting's control exception"), so a
/// host can catch their failures apart from the rest.
KX_DECLARE_EXCEPTION(kxSettingControlException);

#endif
