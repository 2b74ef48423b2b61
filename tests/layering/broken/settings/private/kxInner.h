// A private header of settings.
#include "kxRuzoVori/core/kxTranslate.h"
