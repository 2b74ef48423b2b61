#ifndef KXRUZOVORI_SETTINGS_KXSETTINGSGROUP_H
#define KXRUZOVORI_SETTINGS_KXSETTINGSGROUP_H

#include "kxRuzoVori/kxExport.h"
#include "kxRuzoVori/settings/kxSettingsItem.h"

#include <wx/object.h>
#include <wx/string.h>

#include <map>

/// A group of settings as the host declares it: items by id, walked in ascending id order. The
/// store keeps its own copy and fills in the path when the group is added.
class KX_API kxSettingsGroup : public wxObject
{
public:
    /// Puts item under id, replacing an item already there.
    void AddItem(wxInt32 id, const kxSettingsItem& item);

    wxString m_path;                           ///< Where the group lives in the file.
    std::map<wxInt32, kxSettingsItem> m_items; ///< The items by id.
};

#endif
