// A host's table of message texts keyed by number.
#include "kxRuzoVori/locale/kxMessages.h"

kxMessages::kxMessages() = default;

kxMessages::~kxMessages() = default;

wxString kxMessages::operator[](long number)
{
    return m_messages[number];
}
