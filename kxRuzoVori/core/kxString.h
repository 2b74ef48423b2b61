#ifndef KXRUZOVORI_CORE_KXSTRING_H
#define KXRUZOVORI_CORE_KXSTRING_H

#include "kxRuzoVori/kxExport.h"

#include <wx/object.h>
#include <wx/string.h>

/// A boxed text, so a string can travel as the object of a parameter record
/// (kxParams::Record::m_object).
class KX_API kxString : public wxObject
{
public:
    /// Boxes a copy of value.
    explicit kxString(wxString& value) : m_value(value) {}

    /// The boxed text.
    const wxString& GetValue() const { return m_value; }

private:
    wxString m_value;
};

#endif
