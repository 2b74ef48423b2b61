// Natural-order comparison of texts, for sorting labels and file names as people expect: runs of
// digits compare as numbers (file9 before file10), white space is ignored wherever it stands and
// other characters compare by their UTF-16 code units.
#ifndef KXRUZOVORI_KXHELPERS_NATSORT_STRNATCMP_H
#define KXRUZOVORI_KXHELPERS_NATSORT_STRNATCMP_H

#include "kxRuzoVori/kxExport.h"

#include <wx/string.h>

/// -1 when a sorts first, +1 when b does, 0 when they are equal; letters compare without regard
/// to case (both are folded to upper case).
KX_API int strnatcmp(const wxString& a, const wxString& b);

/// As strnatcmp, but letters compare as they are, so upper-case letters sort first.
KX_API int strnatcasecmp(const wxString& a, const wxString& b);

#endif
