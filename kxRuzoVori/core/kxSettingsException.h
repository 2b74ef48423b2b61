// Thrown by the settings store and its dynamic groups, so a host can catch their failures apart
// from the rest.
#ifndef KXRUZOVORI_CORE_KXSETTINGSEXCEPTION_H
#define KXRUZOVORI_CORE_KXSETTINGSEXCEPTION_H

#include "kxRuzoVori/core/kxException.h"

KX_DECLARE_EXCEPTION(kxSettingsException);

#endif
