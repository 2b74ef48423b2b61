// The text of a settings entry: every item is one entry of its group's section, named after the
// item, whose value is the type letter, ":", the item id in decimal, ":" and the value text.
// Numbers are written and read with "." whatever the process locale, so a file moves between users
// and machines intact.
#ifndef KXRUZOVORI_SETTINGS_PRIVATE_KXSETTINGSENTRY_H
#define KXRUZOVORI_SETTINGS_PRIVATE_KXSETTINGSENTRY_H

#include "kxRuzoVori/settings/kxSettingsItem.h"

#include <wx/string.h>

namespace kxSettingsEntry
{
// The 32-bit value nearest to value: ids and numbers keep 32-bit ranges.
wxInt32 ClampToInt32(long value);

// Reads a decimal integer as strtol does (leading blanks, a sign, the digits up to the first
// other character; 0 when there are none), saturating at the 32-bit limits.
wxInt32 ParseLong(const wxString& text);
// Reads a floating-point number as strtod does in the "C" locale; 0 when there is none.
double ParseReal(const wxString& text);

wxString FormatLong(wxInt32 value);
// "%f": six digits after the point, fixed notation.
wxString FormatReal(double value);

// The types whose items are written to the file.
bool IsSavedType(wchar_t type);

// The entry value of item, or false for a type that is not saved.
bool FormatEntry(wxInt32 id, const kxSettingsItem& item, wxString& entry);
// Puts a value text read from the file into item by the type letter given.
bool ConvertText(kxSettingsItem& item, wchar_t type, const wxString& text);
} // namespace kxSettingsEntry

#endif
