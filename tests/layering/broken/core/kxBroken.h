// A public header of core that reaches up, into the system and into a private header.
#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/core/private/kxUtf.h"
#include "kxRuzoVori/settings/kxSettings.h"
#include <unistd.h>
#include <wx/string.h>
