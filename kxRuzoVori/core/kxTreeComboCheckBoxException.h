#ifndef KXRUZOVORI_CORE_KXTREECOMBOCHECKBOXEXCEPTION_H
#define KXRUZOVORI_CORE_KXTREECOMBOCHECKBOXEXCEPTION_H

#include "kxRuzoVori/core/kxException.h"

/// Thrown by the tree combo and its pop-up (class text "kxTreeComboCheckBox control
/// exception"), so a host can catch their failures apart from the rest.
KX_DECLARE_EXCEPTION(kxTreeComboCheckBoxException);

#endif
