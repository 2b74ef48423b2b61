// The library's exception type.
#include "kxRuzoVori/core/kxException.h"

#include <utility>

kxException::kxException(wxString message, wxString classText)
    : m_message(std::move(message)), m_class(std::move(classText))
{
}
