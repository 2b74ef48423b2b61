// The tree combo's drop-down: check states, their propagation and the clicks that change them.
#include "kxRuzoVori/controls/kxTreeComboPopup.h"

#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/core/kxTreeComboCheckBoxException.h"

#include <wx/dc.h>
#include <wx/image.h>
#include <wx/imaglist.h>

#include <algorithm>
#include <cstring>

namespace
{
const int kImageSide = 16;

// The image list holds 16 x 16 images: other sizes are scaled, a missing bitmap is left blank.
wxBitmap FitImage(const wxBitmap& bitmap)
{
    if (!bitmap.IsOk())
    {
        wxImage blank(kImageSide, kImageSide);
        blank.InitAlpha();
        memset(blank.GetAlpha(), 0, kImageSide * kImageSide);
        return wxBitmap(blank);
    }
    if (bitmap.GetWidth() == kImageSide && bitmap.GetHeight() == kImageSide)
        return bitmap;
    return wxBitmap(bitmap.ConvertToImage().Scale(kImageSide, kImageSide, wxIMAGE_QUALITY_HIGH));
}
} // namespace

wxBEGIN_EVENT_TABLE(kxTreeComboPopup, kxTreeControl)
    EVT_LEFT_DOWN(kxTreeComboPopup::PrivateOnMouseClickDown)
        EVT_LEFT_DCLICK(kxTreeComboPopup::PrivateOnMouseClickDown)
            EVT_LEFT_UP(kxTreeComboPopup::PrivateOnMouseClickUp)
                EVT_TREE_DELETE_ITEM(wxID_ANY, kxTreeComboPopup::PrivateOnDeleteItem)
                    wxEND_EVENT_TABLE()

                        kxTreeComboPopup::kxTreeComboPopup(int mode, const wxBitmap& comboIcon,
                                                           const wxBitmap& checked,
                                                           const wxBitmap& unchecked,
                                                           const wxBitmap& grayed, int treeId,
                                                           const wxSize& size)
    : m_mode(mode), m_treeId(treeId), m_size(size), m_colour1(240, 240, 240),
      m_colour2(255, 255, 255)
{
    m_bitmaps[IMAGE_COMBO] = comboIcon;
    m_bitmaps[IMAGE_CHECKED] = checked;
    m_bitmaps[IMAGE_UNCHECKED] = unchecked;
    m_bitmaps[IMAGE_GRAYED] = grayed;
    RegisterEvent(EVENT_DISMISSED);
}

bool kxTreeComboPopup::Create(wxWindow* parent)
{
    if (!kxTreeControl::Create(parent, m_treeId, wxPoint(0, 0), wxSize(m_size.GetWidth(), -1),
                               wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT |
                                   wxBORDER_SIMPLE))
        throw kxTreeComboCheckBoxException(
            kxTranslate(wxS("Error creating kxTreeComboCheckBox control")),
            kxTranslate(wxS("kxTreeComboCheckBox control exception")));
    if (m_mode != MODE_SINGLE)
        PrivateMakeImageList();
    AddRoot(wxString());
    m_noneItem = PrivateAddNoneItem();
    return true;
}

wxSize kxTreeComboPopup::GetAdjustedSize(int minWidth, int prefHeight, int)
{
    return wxSize(minWidth, std::min(prefHeight, static_cast<int>(MAX_HEIGHT)));
}

void kxTreeComboPopup::OnPopup()
{
    ExpandAll();
    if (m_currentItem.IsOk())
        EnsureVisible(m_currentItem);
}

void kxTreeComboPopup::OnDismiss()
{
    FireEvent(EVENT_DISMISSED);
}

void kxTreeComboPopup::PaintComboControl(wxDC& dc, const wxRect& rect)
{
    if (!m_combo)
        return;
    const bool enabled = m_combo->IsEnabled();
    m_combo->PrepareBackground(dc, rect, enabled ? 0 : static_cast<int>(wxCONTROL_DISABLED));
    int x = 6;
    const wxBitmap& icon = m_bitmaps[IMAGE_COMBO];
    if (icon.IsOk())
    {
        const int spare = rect.height - icon.GetHeight();
        dc.DrawBitmap(enabled ? icon : icon.ConvertToDisabled(), rect.x + 3,
                      rect.y + spare / 2 + (spare % 2 != 0 ? 1 : 0), true);
        x += icon.GetWidth();
    }
    // The field shows the combo's own text, which the host may have set apart from the states.
    dc.DrawText(m_combo->wxComboCtrlBase::GetValue(), rect.x + x,
                rect.y + (rect.height - dc.GetCharHeight()) / 2);
}

wxString kxTreeComboPopup::GetStringValue() const
{
    if (!m_currentItem.IsOk())
        return wxString();
    const wxTreeItemId root = GetRootItem();
    wxString text;
    for (wxTreeItemId item = GetNextInTreeOrder(root, root); item.IsOk();
         item = GetNextInTreeOrder(item, root))
    {
        if (PrivateState(item) == STATE_UNCHECKED)
            continue;
        if (m_mode == MODE_SINGLE)
        {
            wxString path = GetItemText(item);
            for (wxTreeItemId up = GetItemParent(item); up.IsOk() && up != root;
                 up = GetItemParent(up))
                path = GetItemText(up) + wxS("/") + path;
            return path;
        }
        if (!text.empty())
            text += wxS(",");
        text += GetItemText(item);
    }
    return text;
}

wxTreeItemId kxTreeComboPopup::AppendItem(const wxTreeItemId& parent, const wxString& text,
                                          bool sort, wxTreeItemData* data)
{
    const int image = PrivateNewItemImage();
    const wxTreeItemId item = kxTreeControl::AppendItem(parent, text, image, -1, data);
    if (!item.IsOk())
        return item;
    m_states.emplace(item.GetID(), STATE_UNCHECKED);
    if (sort)
        SortChildren(GetItemParent(item));
    return item;
}

bool kxTreeComboPopup::CheckItem(const wxTreeItemId& item, bool check, bool withoutPropagation)
{
    if (!item.IsOk() || m_states.find(item.GetID()) == m_states.end())
        return false;
    PrivateCheckItem(m_noneItem, false);
    if (withoutPropagation)
        PrivateOnlyCheck(item, check ? STATE_CHECKED : STATE_UNCHECKED);
    else
        PrivateCheckItem(item, check);
    if (check)
        m_currentItem = m_previousItem = item;
    return true;
}

bool kxTreeComboPopup::CheckItem(const wxString& text, bool check)
{
    return CheckItem(PrivateFindItemByText(GetRootItem(), text), check, false);
}

bool kxTreeComboPopup::IsChecked(const wxTreeItemId& item) const
{
    return PrivateState(item) != STATE_UNCHECKED;
}

bool kxTreeComboPopup::IsGrayed(const wxTreeItemId& item) const
{
    return PrivateState(item) == STATE_GRAYED;
}

bool kxTreeComboPopup::GetSelection(std::vector<wxTreeItemData*>& data,
                                    std::vector<bool>& checked) const
{
    data.clear();
    checked.clear();
    const wxTreeItemId root = GetRootItem();
    for (wxTreeItemId item = GetNextInTreeOrder(root, root); item.IsOk();
         item = GetNextInTreeOrder(item, root))
    {
        wxTreeItemData* itemData = GetItemData(item);
        if (PrivateState(item) != STATE_UNCHECKED && itemData)
        {
            data.push_back(itemData);
            checked.push_back(true);
        }
    }
    return true;
}

wxTreeItemData* kxTreeComboPopup::GetCurrentClientData() const
{
    return m_currentItem.IsOk() ? GetItemData(m_currentItem) : nullptr;
}

void kxTreeComboPopup::SortAll(const wxTreeItemId& item)
{
    const wxTreeItemId top = item.IsOk() ? item : GetRootItem();
    if (!top.IsOk())
        return;
    for (wxTreeItemId node = top; node.IsOk(); node = GetNextInTreeOrder(node, top))
        if (GetChildrenCount(node, false) > 1)
            SortChildren(node);
}

void kxTreeComboPopup::SetBitmaps(const wxBitmap& checked, const wxBitmap& unchecked,
                                  const wxBitmap& grayed, const wxBitmap& comboIcon)
{
    m_bitmaps[IMAGE_COMBO] = comboIcon;
    m_bitmaps[IMAGE_CHECKED] = checked;
    m_bitmaps[IMAGE_UNCHECKED] = unchecked;
    m_bitmaps[IMAGE_GRAYED] = grayed;
    if (GetImageList())
        PrivateMakeImageList();
    Refresh();
    if (m_combo)
        m_combo->Refresh();
}

void kxTreeComboPopup::SetColors(const wxColour& colour1, const wxColour& colour2)
{
    m_colour1 = colour1;
    m_colour2 = colour2;
}

void kxTreeComboPopup::Clear()
{
    m_states.clear();
    DeleteAllItems();
    AddRoot(wxString());
    m_noneItem = PrivateAddNoneItem();
    m_currentItem = m_previousItem = m_noneItem;
    PrivateCheckItem(m_noneItem, true);
}

int kxTreeComboPopup::PrivateState(const wxTreeItemId& item) const
{
    if (!item.IsOk())
        return STATE_UNCHECKED;
    const auto found = m_states.find(item.GetID());
    return found == m_states.end() ? static_cast<int>(STATE_UNCHECKED) : found->second;
}

int kxTreeComboPopup::PrivateNewItemImage() const
{
    return m_mode == MODE_SINGLE ? -1 : IMAGE_UNCHECKED;
}

void kxTreeComboPopup::PrivateMakeImageList()
{
    auto* images = new wxImageList(kImageSide, kImageSide, true, IMAGE_COUNT);
    for (const wxBitmap& bitmap : m_bitmaps)
        images->Add(FitImage(bitmap));
    AssignImageList(images);
}

wxTreeItemId kxTreeComboPopup::PrivateAddNoneItem()
{
    const int image = PrivateNewItemImage();
    const wxTreeItemId none = kxTreeControl::AppendItem(GetRootItem(), m_noneText, image);
    m_states[none.GetID()] = STATE_UNCHECKED;
    return none;
}

void kxTreeComboPopup::PrivateOnlyCheck(const wxTreeItemId& item, int state)
{
    if (!item.IsOk())
        return;
    if (m_mode != MODE_SINGLE)
    {
        const int image = state == STATE_CHECKED  ? IMAGE_CHECKED
                          : state == STATE_GRAYED ? IMAGE_GRAYED
                                                  : IMAGE_UNCHECKED;
        SetItemImage(item, image);
    }
    m_states[item.GetID()] = static_cast<unsigned char>(state);
}

void kxTreeComboPopup::PrivateCheckItem(const wxTreeItemId& item, bool check)
{
    if (!item.IsOk())
        return;
    const int old = PrivateState(item);
    const bool none = item == m_noneItem;
    int state;
    if (none)
        state = check ? STATE_CHECKED : STATE_UNCHECKED;
    else if (old == STATE_CHECKED)
        state = STATE_UNCHECKED;
    else if (old == STATE_GRAYED)
        state = STATE_CHECKED;
    else if (m_mode == MODE_CHECK_DOWN)
        state = GetChildrenCount(item, false) > 0 ? STATE_GRAYED : STATE_CHECKED;
    else if (m_mode == MODE_CHECK_UP)
        state = GetItemParent(item) != GetRootItem() ? STATE_GRAYED : STATE_CHECKED;
    else
        state = STATE_CHECKED;
    PrivateOnlyCheck(item, state);
    if (none || old == STATE_UNCHECKED)
        return;
    if (m_mode == MODE_CHECK_DOWN)
        PrivateCheckSubNodes(item, check);
    else if (m_mode == MODE_CHECK_UP)
        PrivateCheckParentNodes(item, check);
}

void kxTreeComboPopup::PrivateCheckSubNodes(const wxTreeItemId& item, bool check)
{
    for (wxTreeItemId node = GetNextInTreeOrder(item, item); node.IsOk();
         node = GetNextInTreeOrder(node, item))
        PrivateOnlyCheck(node, check ? STATE_CHECKED : STATE_UNCHECKED);
}

void kxTreeComboPopup::PrivateCheckParentNodes(const wxTreeItemId& item, bool)
{
    const wxTreeItemId root = GetRootItem();
    for (wxTreeItemId parent = GetItemParent(item); parent.IsOk() && parent != root;
         parent = GetItemParent(parent))
    {
        bool anyChecked = false;
        bool anyUnchecked = false;
        bool anyGrayed = false;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId child = GetFirstChild(parent, cookie); child.IsOk();
             child = GetNextChild(parent, cookie))
        {
            const int state = PrivateState(child);
            anyChecked |= state == STATE_CHECKED;
            anyUnchecked |= state == STATE_UNCHECKED;
            anyGrayed |= state == STATE_GRAYED;
        }
        PrivateOnlyCheck(parent, (anyChecked && anyUnchecked) || anyGrayed ? STATE_GRAYED
                                 : anyChecked                              ? STATE_CHECKED
                                                                           : STATE_UNCHECKED);
    }
}

void kxTreeComboPopup::PrivateUncheckAllItems(const wxTreeItemId& except)
{
    for (const auto& entry : m_states)
        if (entry.second != STATE_UNCHECKED && entry.first != except.GetID())
            PrivateOnlyCheck(wxTreeItemId(entry.first), STATE_UNCHECKED);
}

bool kxTreeComboPopup::PrivateIsAllUnchecked() const
{
    return std::all_of(m_states.begin(), m_states.end(),
                       [](const auto& entry) { return entry.second == STATE_UNCHECKED; });
}

wxTreeItemId kxTreeComboPopup::PrivateFindItemByText(const wxTreeItemId& item,
                                                     const wxString& text) const
{
    for (wxTreeItemId node = GetNextInTreeOrder(item, item); node.IsOk();
         node = GetNextInTreeOrder(node, item))
        if (GetItemText(node) == text)
            return node;
    return wxTreeItemId();
}

void kxTreeComboPopup::PrivateOnMouseClickDown(wxMouseEvent&)
{
    // Swallowed: the tree must neither select, nor edit, nor toggle on its own.
}

void kxTreeComboPopup::PrivateOnMouseClickUp(wxMouseEvent& event)
{
    int flags = 0;
    const wxTreeItemId item = HitTest(event.GetPosition(), flags);
    if (!item.IsOk())
        return;
    m_currentItem = item;
    if (!(flags & (wxTREE_HITTEST_ONITEMICON | wxTREE_HITTEST_ONITEMLABEL)))
    {
        if (flags & wxTREE_HITTEST_ONITEMBUTTON)
            Toggle(item);
        return;
    }
    const bool check = PrivateState(item) == STATE_UNCHECKED;
    const bool none = item == m_noneItem;
    // Clicking the none item while it is checked changes nothing and keeps the pop-up open.
    const bool unchanged = none && !check;
    if (!unchanged)
    {
        if (m_mode == MODE_SINGLE)
        {
            // Only a chosen previous item is unchosen: stepping an unchosen one would choose it.
            if (check)
            {
                PrivateCheckItem(item, true);
                if (m_previousItem != m_currentItem && IsChecked(m_previousItem))
                    PrivateCheckItem(m_previousItem, false);
            }
        }
        else if (m_mode == MODE_CHECK_DOWN && PrivateState(item) == STATE_GRAYED)
            PrivateCheckItem(item, true);
        else
            PrivateCheckItem(item, check);
        if (!check && PrivateIsAllUnchecked())
            PrivateCheckItem(m_noneItem, true);
        if (check && none)
            PrivateUncheckAllItems(m_noneItem);
        else if (check)
            PrivateCheckItem(m_noneItem, false);
    }
    m_previousItem = m_currentItem;
    if (m_mode == MODE_SINGLE && !unchanged)
        Dismiss();
}

void kxTreeComboPopup::PrivateOnDeleteItem(wxTreeEvent& event)
{
    const wxTreeItemId item = event.GetItem();
    m_states.erase(item.GetID());
    if (item == m_noneItem)
        m_noneItem.Unset();
    // The text stays what the remaining states make; only an unclicked tree shows none.
    if (item == m_currentItem)
        m_currentItem = m_noneItem;
    if (item == m_previousItem)
        m_previousItem.Unset();
    event.Skip();
}
