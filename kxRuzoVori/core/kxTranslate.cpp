// Looking up the library's texts in the toolkit's message catalogs.
#include "kxRuzoVori/core/kxTranslate.h"

#include <wx/translation.h>

wxString kxTranslate(const wxString& text)
{
    return wxGetTranslation(text);
}
