// The library's single road to the toolkit's message catalogs: every text shown to a user or
// carried by an exception is looked up here, with the English text as the catalog key.
#ifndef KXRUZOVORI_CORE_KXTRANSLATE_H
#define KXRUZOVORI_CORE_KXTRANSLATE_H

#include "kxRuzoVori/kxExport.h"

#include <wx/string.h>

// Returns the active catalogs' translation of text, or text itself when none has one.
KX_API wxString kxTranslate(const wxString& text);

#endif
