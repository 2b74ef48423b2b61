#ifndef KXRUZOVORI_LOCALE_KXMESSAGES_H
#define KXRUZOVORI_LOCALE_KXMESSAGES_H

#include "kxRuzoVori/kxExport.h"

#include <wx/object.h>
#include <wx/string.h>

#include <map>

/// A base for a host's table of message texts keyed by number: a derived class fills the table
/// (typically with translated texts in its constructor) and the rest of the host reads texts by
/// number.
class KX_API kxMessages : public wxObject
{
public:
    /// An empty table.
    kxMessages();
    /// The texts go with it.
    virtual ~kxMessages();

    /// The text stored under number; a number the table does not hold yet is added with an
    /// empty text, so the answer is then empty.
    wxString operator[](long number);

protected:
    /// The texts by number, for the derived class to fill.
    std::map<long, wxString> m_messages;
};

#endif
