#ifndef KXRUZOVORI_CORE_KXPARAMS_H
#define KXRUZOVORI_CORE_KXPARAMS_H

#include "kxRuzoVori/kxExport.h"

#include <wx/object.h>
#include <wx/string.h>

#include <cstddef>
#include <vector>

/// The parameter bag handed to every subscriber of one event firing (kxEventable::FireEvent()).
/// Each record carries a boxed object (owned or not), a number, a text and a wide value; owned
/// objects die with the bag. The library's own publishers add one text record.
class KX_API kxParams
{
public:
    /// One parameter: any of its fields may be used, the publisher says which.
    struct Record
    {
        wxObject* m_object = nullptr; ///< A boxed value such as kxInt or kxString, or null.
        int m_number = 0;             ///< An integer value.
        wxString m_text;              ///< A text value.
        double m_wide = 0.0;          ///< A floating-point value.
        bool m_owned = false;         ///< The bag deletes m_object when it is destroyed.
    };

    kxParams() = default;
    kxParams(const kxParams&) = delete;
    kxParams& operator=(const kxParams&) = delete;
    /// Deletes the objects of the records that own theirs.
    virtual ~kxParams();

    /// Appends a record; with owned true the bag deletes object when it is destroyed.
    void Add(wxObject* object, int number, const wxString& text, double wide, bool owned);
    /// Appends the text-only record: no object, number 0, wide value 0, not owned.
    void AddText(const wxString& text);

    /// The number of records.
    size_t GetCount() const { return m_records.size(); }
    /// The record at index, in the order they were added.
    /// \throws std::out_of_range when index is not below GetCount().
    const Record& Get(size_t index) const { return m_records.at(index); }
    /// \copydoc Get(size_t) const
    Record& Get(size_t index) { return m_records.at(index); }

private:
    std::vector<Record> m_records;
};

#endif
