// The exceptions the library's own components throw, all under one translated class text.
#ifndef KXRUZOVORI_CORE_PRIVATE_KXLIBRARYEXCEPTION_H
#define KXRUZOVORI_CORE_PRIVATE_KXLIBRARYEXCEPTION_H

#include "kxRuzoVori/core/kxException.h"

#include <wx/string.h>

// "kxRuzoVori exception" in the user's language.
wxString kxLibraryClassText();

// An exception with message and that class text.
kxException kxLibraryException(const wxString& message);

#endif
