#ifndef KXRUZOVORI_CORE_KXEXCEPTION_H
#define KXRUZOVORI_CORE_KXEXCEPTION_H

#include "kxRuzoVori/kxExport.h"

#include <wx/string.h>

#include <utility>

/// The library's failure value: a message saying what went wrong and a class text naming the
/// component that threw. Components derive their own types only so hosts can catch them apart;
/// catching kxException by reference catches them all. It is not a std::exception, so a
/// `catch (const std::exception&)` lets it pass.
///
/// Both texts arrive translated through the active message catalogs, English when none is; the
/// class text of a kxEventable is the one text thrown as it was set.
class KX_API kxException
{
public:
    /// Keeps both texts as they are given.
    kxException(wxString message, wxString classText);

    /// What went wrong, for instance "Unknown event id".
    wxString GetMsg() const { return m_message; }
    /// The component that threw, for instance "kxRuzoVori exception" or "kxSettings module".
    wxString GetClass() const { return m_class; }

private:
    wxString m_message;
    wxString m_class;
};

/// Declares a component's own exception type: a kxException with the same two texts, derived only
/// so that a host can catch that component's failures apart from the rest.
#define KX_DECLARE_EXCEPTION(name)                                                                 \
    class KX_API name : public kxException                                                         \
    {                                                                                              \
    public:                                                                                        \
        using kxException::kxException;                                                            \
    }

#endif
