// The repair of a damaged settings file before the toolkit reads it.
#ifndef KXRUZOVORI_SETTINGS_PRIVATE_KXSETTINGSREPAIR_H
#define KXRUZOVORI_SETTINGS_PRIVATE_KXSETTINGSREPAIR_H

#include <wx/string.h>

// A damaged file is mended before the toolkit reads it, so that every entry that survived the
// damage is read, and read once. A file holding NUL bytes or bytes that are not UTF-8 is lost
// whole to the toolkit's reader; entries it cannot place would linger in the file. Files marked as
// UTF-16 or UTF-32 are the toolkit's to decode.
void kxMendSettingsFile(const wxString& path);

#endif
