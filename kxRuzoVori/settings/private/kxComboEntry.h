// Showing a stored entry number in a combo box, as the view registry and the setting controls do.
#ifndef KXRUZOVORI_SETTINGS_PRIVATE_KXCOMBOENTRY_H
#define KXRUZOVORI_SETTINGS_PRIVATE_KXCOMBOENTRY_H

#include <wx/combobox.h>

// A combo box asserts on an entry number it does not have; such a number clears the selection.
inline void kxSelectComboEntry(wxComboBox* box, long entry)
{
    if (entry >= 0 && entry < static_cast<long>(box->GetCount()))
        box->SetSelection(static_cast<int>(entry));
    else
        box->SetSelection(wxNOT_FOUND);
}

#endif
