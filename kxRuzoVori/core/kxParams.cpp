// The parameter bag of an event firing and the objects it owns.
#include "kxRuzoVori/core/kxParams.h"

kxParams::~kxParams()
{
    for (Record& record : m_records)
    {
        if (record.m_owned)
            delete record.m_object;
    }
}

void kxParams::Add(wxObject* object, int number, const wxString& text, double wide, bool owned)
{
    Record record;
    record.m_object = object;
    record.m_number = number;
    record.m_text = text;
    record.m_wide = wide;
    record.m_owned = owned;
    m_records.push_back(std::move(record));
}

void kxParams::AddText(const wxString& text)
{
    Add(nullptr, 0, text, 0.0, false);
}
