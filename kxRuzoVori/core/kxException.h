// The library's failure value: a message saying what went wrong and a class text naming the
// component that threw. Components derive their own types only so hosts can catch them apart.
#ifndef KXRUZOVORI_CORE_KXEXCEPTION_H
#define KXRUZOVORI_CORE_KXEXCEPTION_H

#include "kxRuzoVori/kxExport.h"

#include <wx/string.h>

#include <utility>

class KX_API kxException
{
public:
    kxException(wxString message, wxString classText);

    wxString GetMsg() const { return m_message; }
    wxString GetClass() const { return m_class; }

private:
    wxString m_message;
    wxString m_class;
};

// Declares a component's own exception type: a kxException with the same two texts, derived only
// so that a host can catch that component's failures apart from the rest.
#define KX_DECLARE_EXCEPTION(name)                                                                 \
    class KX_API name : public kxException                                                         \
    {                                                                                              \
    public:                                                                                        \
        using kxException::kxException;                                                            \
    }

#endif
