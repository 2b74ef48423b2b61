#ifndef KXRUZOVORI_CORE_KXTRANSLATE_H
#define KXRUZOVORI_CORE_KXTRANSLATE_H

#include "kxRuzoVori/kxExport.h"

#include <wx/string.h>

/// The library's single road to the toolkit's message catalogs: every text it shows to a user or
/// carries in an exception is looked up here, with the English text as the catalog key.
/// Returns the active catalogs' translation of text, or text itself when none has one (also when
/// no locale is active).
KX_API wxString kxTranslate(const wxString& text);

#endif
