#ifndef KXRUZOVORI_SETTINGS_KXSETTINGEDITBOX_H
#define KXRUZOVORI_SETTINGS_KXSETTINGEDITBOX_H

#include "kxRuzoVori/settings/kxSettingControl.h"

class WXDLLIMPEXP_FWD_CORE wxTextCtrl;

/// A binding of an edit box to a setting shown as text.
class KX_API kxSettingEditBox : public kxSettingControl
{
public:
    /// Unbound, as kxSettingControl::kxSettingControl().
    kxSettingEditBox() = default;
    /// Binds control at once; throws as kxSettingControl::Assign() does.
    kxSettingEditBox(kxSettings* settings, kxSettingsSet* settingsSet, long group, long item,
                     wxTextCtrl* control);
};

#endif
