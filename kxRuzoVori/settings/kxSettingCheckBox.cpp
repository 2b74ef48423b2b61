// The check box binding: a binding made from a check box.
#include "kxRuzoVori/settings/kxSettingCheckBox.h"

#include <wx/checkbox.h>

kxSettingCheckBox::kxSettingCheckBox(kxSettings* settings, kxSettingsSet* settingsSet, long group,
                                     long item, wxCheckBox* control)
    : kxSettingControl(settings, settingsSet, group, item, control)
{
}
