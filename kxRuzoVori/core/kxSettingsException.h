#ifndef KXRUZOVORI_CORE_KXSETTINGSEXCEPTION_H
#define KXRUZOVORI_CORE_KXSETTINGSEXCEPTION_H

#include "kxRuzoVori/core/kxException.h"

/// Thrown by the settings store and its dynamic groups (class text "kxSettings module"), so a
/// host can catch their failures apart from the rest.
KX_DECLARE_EXCEPTION(kxSettingsException);

#endif
