// The text conversion a settings file is read with, which mends a damaged file on the way.
#ifndef KXRUZOVORI_SETTINGS_PRIVATE_KXSETTINGSREPAIR_H
#define KXRUZOVORI_SETTINGS_PRIVATE_KXSETTINGSREPAIR_H

#include <wx/strconv.h>

// Reads a settings file's bytes as UTF-8 text and mends damage in memory, so that every entry
// that survived the damage is read, and read once, while the file itself stays as it is until
// the store saves: NUL bytes are left out and bytes that are not UTF-8 read as Latin-1 (either
// would lose the whole file to the toolkit's reader), and entries the reader cannot place (no
// name, or a name given again in its section) are dropped. Files marked as UTF-16 or UTF-32 are
// the toolkit's to decode. Text is written as UTF-8.
class kxSettingsRepair : public wxMBConv
{
public:
    size_t ToWChar(wchar_t* dst, size_t dstLen, const char* src,
                   size_t srcLen = wxNO_LEN) const override;
    size_t FromWChar(char* dst, size_t dstLen, const wchar_t* src,
                     size_t srcLen = wxNO_LEN) const override;
    wxMBConv* Clone() const override;
};

#endif
