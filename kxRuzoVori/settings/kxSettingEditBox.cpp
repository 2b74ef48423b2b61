// The edit box binding: a binding made from an edit box.
#include "kxRuzoVori/settings/kxSettingEditBox.h"

#include <wx/textctrl.h>

kxSettingEditBox::kxSettingEditBox(kxSettings* settings, kxSettingsSet* settingsSet, long group,
                                   long item, wxTextCtrl* control)
    : kxSettingControl(settings, settingsSet, group, item, control)
{
}
