// Replacing a file so that it always holds either its old or its new content, whenever the
// writer stops.
#ifndef KXRUZOVORI_SETTINGS_PRIVATE_KXATOMICFILE_H
#define KXRUZOVORI_SETTINGS_PRIVATE_KXATOMICFILE_H

#include <wx/string.h>

#include <cstddef>

// Writes size bytes to a temporary file beside path, forces them to disk and renames the
// temporary over path.
bool kxWriteFileAtomically(const wxString& path, const void* data, size_t size);

#endif
