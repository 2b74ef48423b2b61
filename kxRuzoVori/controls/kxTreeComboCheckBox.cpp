// The tree combo: a combo control that hosts the check-box tree as its drop-down.
#include "kxRuzoVori/controls/kxTreeComboCheckBox.h"

kxTreeComboCheckBox::kxTreeComboCheckBox(int mode, const wxBitmap& comboIcon,
                                         const wxBitmap& checked, const wxBitmap& unchecked,
                                         const wxBitmap& grayed, wxWindow* parent, int id,
                                         const wxPoint& position, const wxSize& size, long style)
    : wxComboCtrl(parent, id, wxString(), position, size, style), m_comboIcon(comboIcon),
      m_popup(new kxTreeComboPopup(mode, comboIcon, checked, unchecked, grayed,
                                   kxTreeControl::TREE_ID, size))
{
    RegisterEvent(EVENT_POPUP_CLOSED);
    m_popup->AddHandler(kxTreeComboPopup::EVENT_DISMISSED,
                        static_cast<kxEventMethod>(&kxTreeComboCheckBox::PrivateOnHidePopup), this);
    UseAltPopupWindow(true);
    // The combo owns the pop-up from here on and creates its tree at once.
    SetPopupControl(m_popup);
    m_popup->Bind(wxEVT_TREE_DELETE_ITEM, &kxTreeComboCheckBox::PrivateOnDeleteItem, this);
}

kxTreeComboCheckBox::~kxTreeComboCheckBox()
{
    // The pop-up outlives this part of the combo and deletes its items as it goes.
    m_popup->Unbind(wxEVT_TREE_DELETE_ITEM, &kxTreeComboCheckBox::PrivateOnDeleteItem, this);
}

wxTreeItemId kxTreeComboCheckBox::GetRoot() const
{
    return m_popup->GetRootItem();
}

wxTreeItemId kxTreeComboCheckBox::AppendItem(const wxTreeItemId& parent, const wxString& text,
                                             wxTreeItemData* data, bool sort)
{
    return m_popup->AppendItem(parent, text, sort, data);
}

bool kxTreeComboCheckBox::CheckItem(const wxTreeItemId& item, bool check, bool withoutPropagation)
{
    return m_popup->CheckItem(item, check, withoutPropagation);
}

bool kxTreeComboCheckBox::CheckItem(const wxString& text, bool check)
{
    return m_popup->CheckItem(text, check);
}

bool kxTreeComboCheckBox::IsChecked(const wxTreeItemId& item) const
{
    return m_popup->IsChecked(item);
}

wxString kxTreeComboCheckBox::GetValue() const
{
    return m_popup->GetStringValue();
}

void kxTreeComboCheckBox::SetValue(const wxString& text)
{
    SetText(text);
}

bool kxTreeComboCheckBox::GetSelection(std::vector<wxTreeItemData*>& data,
                                       std::vector<bool>& checked) const
{
    return m_popup->GetSelection(data, checked);
}

wxTreeItemData* kxTreeComboCheckBox::GetCurrentClientData() const
{
    return m_popup->GetCurrentClientData();
}

wxTreeItemData* kxTreeComboCheckBox::GetFirstItemData(wxTreeItemId& item)
{
    m_cursor.Unset();
    const wxTreeItemId root = GetRoot();
    if (root.IsOk())
    {
        wxTreeItemIdValue cookie;
        m_cursor = m_popup->GetFirstChild(root, cookie);
    }
    return GetNextItemData(item);
}

wxTreeItemData* kxTreeComboCheckBox::GetNextItemData(wxTreeItemId& item)
{
    if (!m_cursor.IsOk())
        return nullptr;
    const wxTreeItemId next = m_popup->GetNextInTreeOrder(m_cursor, GetRoot());
    if (!next.IsOk())
        return nullptr;
    m_cursor = item = next;
    return m_popup->GetItemData(next);
}

void kxTreeComboCheckBox::SortAll(const wxTreeItemId& item)
{
    m_popup->SortAll(item);
}

void kxTreeComboCheckBox::SetBitmaps(const wxBitmap& checked, const wxBitmap& unchecked,
                                     const wxBitmap& grayed, const wxBitmap& comboIcon)
{
    m_comboIcon = comboIcon;
    m_popup->SetBitmaps(checked, unchecked, grayed, comboIcon);
    Refresh();
}

void kxTreeComboCheckBox::SetColors(const wxColour& colour1, const wxColour& colour2)
{
    m_popup->SetColors(colour1, colour2);
}

bool kxTreeComboCheckBox::Enable(bool enable)
{
    const bool changed = wxComboCtrl::Enable(enable);
    Refresh();
    return changed;
}

void kxTreeComboCheckBox::Clear()
{
    m_popup->Clear();
    SetValue(GetValue());
}

bool kxTreeComboCheckBox::PrivateOnHidePopup(kxEventable&, kxParams&)
{
    const wxString text = GetValue();
    // The field follows the states each time the drop-down closes.
    SetText(text);
    kxParams params;
    params.AddText(text);
    return FireEvent(EVENT_POPUP_CLOSED, params);
}

void kxTreeComboCheckBox::PrivateOnDeleteItem(wxTreeEvent& event)
{
    if (event.GetItem() == m_cursor)
        m_cursor.Unset();
    event.Skip();
}
