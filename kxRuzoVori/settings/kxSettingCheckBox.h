#ifndef KXRUZOVORI_SETTINGS_KXSETTINGCHECKBOX_H
#define KXRUZOVORI_SETTINGS_KXSETTINGCHECKBOX_H

#include "kxRuzoVori/settings/kxSettingControl.h"

class WXDLLIMPEXP_FWD_CORE wxCheckBox;

/// A binding of a check box to a flag setting.
class KX_API kxSettingCheckBox : public kxSettingControl
{
public:
    /// Unbound, as kxSettingControl::kxSettingControl().
    kxSettingCheckBox() = default;
    /// Binds control at once; throws as kxSettingControl::Assign() does.
    kxSettingCheckBox(kxSettings* settings, kxSettingsSet* settingsSet, long group, long item,
                      wxCheckBox* control);
};

#endif
