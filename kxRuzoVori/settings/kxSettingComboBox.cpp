// The combo box binding: a binding made from a combo box.
#include "kxRuzoVori/settings/kxSettingComboBox.h"

#include <wx/combobox.h>

kxSettingComboBox::kxSettingComboBox(kxSettings* settings, kxSettingsSet* settingsSet, long group,
                                     long item, wxComboBox* control)
    : kxSettingControl(settings, settingsSet, group, item, control)
{
}
