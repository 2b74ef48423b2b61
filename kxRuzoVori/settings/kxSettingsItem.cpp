// One setting as the host declares it: a constructor for each type of value.
#include "kxRuzoVori/settings/kxSettingsItem.h"

#include <limits>

kxSettingsItem::kxSettingsItem() : m_type(L'S'), m_number(0), m_real(0), m_flag(false) {}

kxSettingsItem::kxSettingsItem(const wxString& name, bool value)
    : m_name(name), m_type(L'B'), m_number(0), m_real(0), m_flag(value)
{
}

kxSettingsItem::kxSettingsItem(const wxString& name, int value)
    : m_name(name), m_type(L'L'), m_number(value), m_real(0), m_flag(false)
{
}

kxSettingsItem::kxSettingsItem(const wxString& name, long value)
    : m_name(name), m_type(L'L'), m_number(0), m_real(0), m_flag(false)
{
    if (value > std::numeric_limits<wxInt32>::max())
        m_number = std::numeric_limits<wxInt32>::max();
    else if (value < std::numeric_limits<wxInt32>::min())
        m_number = std::numeric_limits<wxInt32>::min();
    else
        m_number = static_cast<wxInt32>(value);
}

kxSettingsItem::kxSettingsItem(const wxString& name, double value)
    : m_name(name), m_type(L'D'), m_number(0), m_real(value), m_flag(false)
{
}

kxSettingsItem::kxSettingsItem(const wxString& name, const wxString& value, wchar_t type)
    : m_name(name), m_type(type), m_text(value), m_number(0), m_real(0), m_flag(false)
{
}

kxSettingsItem::kxSettingsItem(const wxString& name, const char* value, wchar_t type)
    : kxSettingsItem(name, wxString(value), type)
{
}

kxSettingsItem::kxSettingsItem(const wxString& name, const wchar_t* value, wchar_t type)
    : kxSettingsItem(name, wxString(value), type)
{
}
