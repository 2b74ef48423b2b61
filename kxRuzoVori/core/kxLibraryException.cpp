// The class text of the library's own exceptions.
#include "kxRuzoVori/core/private/kxLibraryException.h"

#include "kxRuzoVori/core/kxTranslate.h"

wxString kxLibraryClassText()
{
    return kxTranslate(wxS("kxRuzoVori exception"));
}

kxException kxLibraryException(const wxString& message)
{
    return kxException(message, kxLibraryClassText());
}
