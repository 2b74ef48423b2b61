// The natural-order tree control under the tree combo's pop-up.
#include "kxRuzoVori/controls/kxTreeControl.h"

#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/kxHelpers/natsort/strnatcmp.h"

wxIMPLEMENT_DYNAMIC_CLASS(kxTreeControl, wxTreeCtrl);

wxBEGIN_EVENT_TABLE(kxTreeControl, wxTreeCtrl)
    EVT_TREE_SEL_CHANGING(kxTreeControl::TREE_ID, kxTreeControl::PrivateOnSelChanging)
        wxEND_EVENT_TABLE()

            kxTreeControl::kxTreeControl()
    : m_noneText(kxTranslate(wxS("<none>")))
{
}

int kxTreeControl::OnCompareItems(const wxTreeItemId& item1, const wxTreeItemId& item2)
{
    const wxString text1 = GetItemText(item1);
    const wxString text2 = GetItemText(item2);
    // Both directions are answered, so the order stays consistent whichever side the sort
    // puts the none item on.
    const bool none1 = text1 == m_noneText;
    const bool none2 = text2 == m_noneText;
    if (none1 || none2)
        return none1 == none2 ? 0 : (none1 ? -1 : 1);
    return strnatcmp(text1, text2);
}

wxTreeItemId kxTreeControl::GetNextInTreeOrder(const wxTreeItemId& item,
                                               const wxTreeItemId& top) const
{
    if (!item.IsOk())
        return wxTreeItemId();
    wxTreeItemIdValue cookie;
    const wxTreeItemId child = GetFirstChild(item, cookie);
    if (child.IsOk())
        return child;
    for (wxTreeItemId climb = item; climb.IsOk() && climb != top; climb = GetItemParent(climb))
    {
        const wxTreeItemId sibling = GetNextSibling(climb);
        if (sibling.IsOk())
            return sibling;
    }
    return wxTreeItemId();
}

void kxTreeControl::PrivateOnSelChanging(wxTreeEvent& event)
{
    event.Veto();
}
