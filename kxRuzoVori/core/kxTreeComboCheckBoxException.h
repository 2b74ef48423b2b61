// Thrown by the tree combo and its pop-up, so a host can catch their failures apart from the rest.
#ifndef KXRUZOVORI_CORE_KXTREECOMBOCHECKBOXEXCEPTION_H
#define KXRUZOVORI_CORE_KXTREECOMBOCHECKBOXEXCEPTION_H

#include "kxRuzoVori/core/kxException.h"

KX_DECLARE_EXCEPTION(kxTreeComboCheckBoxException);

#endif
