// A source may include its own folder's private headers, by full or relative path.
#include "kxRuzoVori/settings/private/kxInner.h"
#include "private/kxInner.h"
