// A binding of an edit box to a setting shown as text.
#ifndef KXRUZOVORI_SETTINGS_KXSETTINGEDITBOX_H
#define KXRUZOVORI_SETTINGS_KXSETTINGEDITBOX_H

#include "kxRuzoVori/settings/kxSettingControl.h"

class WXDLLIMPEXP_FWD_CORE wxTextCtrl;

class KX_API kxSettingEditBox : public kxSettingControl
{
public:
    kxSettingEditBox() = default;
    kxSettingEditBox(kxSettings* settings, kxSettingsSet* settingsSet, long group, long item,
                     wxTextCtrl* control);
};

#endif
