// A boxed 32-bit integer, so a plain number can travel as the object of a parameter record.
#ifndef KXRUZOVORI_CORE_KXINT_H
#define KXRUZOVORI_CORE_KXINT_H

#include "kxRuzoVori/kxExport.h"

#include <wx/object.h>

class KX_API kxInt : public wxObject
{
public:
    explicit kxInt(int value) : m_value(value) {}

    int GetValue() const { return m_value; }

private:
    int m_value;
};

#endif
