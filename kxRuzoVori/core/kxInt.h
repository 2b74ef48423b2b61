#ifndef KXRUZOVORI_CORE_KXINT_H
#define KXRUZOVORI_CORE_KXINT_H

#include "kxRuzoVori/kxExport.h"

#include <wx/object.h>

/// A boxed 32-bit integer, so a plain number can travel as the object of a parameter record
/// (kxParams::Record::m_object).
class KX_API kxInt : public wxObject
{
public:
    /// Boxes value.
    explicit kxInt(int value) : m_value(value) {}

    /// The boxed value.
    int GetValue() const { return m_value; }

private:
    int m_value;
};

#endif
