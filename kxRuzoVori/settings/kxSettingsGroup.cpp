// A group of settings as the host declares it.
#include "kxRuzoVori/settings/kxSettingsGroup.h"

void kxSettingsGroup::AddItem(wxInt32 id, const kxSettingsItem& item)
{
    m_items[id] = item;
}
