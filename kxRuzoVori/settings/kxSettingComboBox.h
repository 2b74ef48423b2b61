#ifndef KXRUZOVORI_SETTINGS_KXSETTINGCOMBOBOX_H
#define KXRUZOVORI_SETTINGS_KXSETTINGCOMBOBOX_H

#include "kxRuzoVori/settings/kxSettingControl.h"

class WXDLLIMPEXP_FWD_CORE wxComboBox;

/// A binding of a combo box to a setting that holds the number of the chosen entry.
class KX_API kxSettingComboBox : public kxSettingControl
{
public:
    /// Unbound, as kxSettingControl::kxSettingControl().
    kxSettingComboBox() = default;
    /// Binds control at once; throws as kxSettingControl::Assign() does.
    kxSettingComboBox(kxSettings* settings, kxSettingsSet* settingsSet, long group, long item,
                      wxComboBox* control);
};

#endif
