#ifndef KXRUZOVORI_SETTINGS_KXSETTINGSITEM_H
#define KXRUZOVORI_SETTINGS_KXSETTINGSITEM_H

#include "kxRuzoVori/kxExport.h"

#include <wx/defs.h>
#include <wx/object.h>
#include <wx/string.h>

/// One setting as the host declares it: the name of its entry in the settings file, a type letter
/// and a value. The value put in before loading is the default. Only the field the type names
/// carries the value: 'B' the flag, 'D' the real, 'L' the number, 'S' and 'U' the text ('U' text is
/// never converted to or from a number by the store).
class KX_API kxSettingsItem : public wxObject
{
public:
    /// An empty text item ('S').
    kxSettingsItem();
    /// A flag item ('B').
    kxSettingsItem(const wxString& name, bool value);
    /// A number item ('L').
    kxSettingsItem(const wxString& name, int value);
    /// The number is kept in 32 bits; values beyond that range are clamped to it.
    kxSettingsItem(const wxString& name, long value);
    /// A real item ('D').
    kxSettingsItem(const wxString& name, double value);
    /// A text item: 'S', or 'U' for text the store never converts to or from a number.
    kxSettingsItem(const wxString& name, const wxString& value, wchar_t type = L'S');
    ///@{
    /// Without these a literal text would silently make a flag item.
    kxSettingsItem(const wxString& name, const char* value, wchar_t type = L'S');
    kxSettingsItem(const wxString& name, const wchar_t* value, wchar_t type = L'S');
    ///@}

    wxString m_name;  ///< The entry's name in the file.
    wchar_t m_type;   ///< 'B', 'D', 'L', 'S' or 'U'.
    wxString m_text;  ///< The value of 'S' and 'U' items.
    wxInt32 m_number; ///< The value of 'L' items.
    double m_real;    ///< The value of 'D' items.
    bool m_flag;      ///< The value of 'B' items.
};

#endif
