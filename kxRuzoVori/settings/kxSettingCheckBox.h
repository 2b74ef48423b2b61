// A binding of a check box to a flag setting.
#ifndef KXRUZOVORI_SETTINGS_KXSETTINGCHECKBOX_H
#define KXRUZOVORI_SETTINGS_KXSETTINGCHECKBOX_H

#include "kxRuzoVori/settings/kxSettingControl.h"

class WXDLLIMPEXP_FWD_CORE wxCheckBox;

class KX_API kxSettingCheckBox : public kxSettingControl
{
public:
    kxSettingCheckBox() = default;
    kxSettingCheckBox(kxSettings* settings, kxSettingsSet* settingsSet, long group, long item,
                      wxCheckBox* control);
};

#endif
