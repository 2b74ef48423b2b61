// The parameter bag handed to every handler of one event firing. Each record carries a boxed
// object (owned or not), a number, a text and a wide value; owned objects die with the bag.
#ifndef KXRUZOVORI_CORE_KXPARAMS_H
#define KXRUZOVORI_CORE_KXPARAMS_H

#include "kxRuzoVori/kxExport.h"

#include <wx/object.h>
#include <wx/string.h>

#include <cstddef>
#include <vector>

class KX_API kxParams
{
public:
    struct Record
    {
        wxObject* m_object = nullptr;
        int m_number = 0;
        wxString m_text;
        double m_wide = 0.0;
        bool m_owned = false;
    };

    kxParams() = default;
    kxParams(const kxParams&) = delete;
    kxParams& operator=(const kxParams&) = delete;
    virtual ~kxParams();

    // Appends a record; with owned true the bag deletes object when it is destroyed.
    void Add(wxObject* object, int number, const wxString& text, double wide, bool owned);
    // Appends the text-only record: no object, number 0, wide value 0, not owned.
    void AddText(const wxString& text);

    size_t GetCount() const { return m_records.size(); }
    // Index must be below GetCount().
    const Record& Get(size_t index) const { return m_records.at(index); }
    Record& Get(size_t index) { return m_records.at(index); }

private:
    std::vector<Record> m_records;
};

#endif
