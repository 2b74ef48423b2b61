// Greyed images for disabled tools, made from their normal images.
#ifndef KXRUZOVORI_CONTROLS_KXMAKEDISABLEDBITMAP_H
#define KXRUZOVORI_CONTROLS_KXMAKEDISABLEDBITMAP_H

#include "kxRuzoVori/kxExport.h"

#include <wx/bitmap.h>

/// A greyed copy of bitmap: every colour channel c becomes 255 + (c - 255) * 0.4, so black turns
/// 153 and white stays white. Transparent pixels (those of the mask) and the alpha channel are left
/// as they are.
KX_API wxBitmap kxMakeDisabledBitmap(const wxBitmap& bitmap);

#endif
