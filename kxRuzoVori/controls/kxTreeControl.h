#ifndef KXRUZOVORI_CONTROLS_KXTREECONTROL_H
#define KXRUZOVORI_CONTROLS_KXTREECONTROL_H

#include "kxRuzoVori/kxExport.h"

#include <wx/treectrl.h>

/// A tree control that sorts its items in natural order and always keeps the "<none>" item, which
/// stands for "nothing chosen", first. It never shows a selection: the combo pop-up built on it
/// marks chosen items with check images instead.
class KX_API kxTreeControl : public wxTreeCtrl
{
public:
    /// The id the combo gives its tree; selection changes of a tree with this id are vetoed.
    enum
    {
        TREE_ID = 9999 ///< The combo tree's id.
    };

    /// A tree without a window; the pop-up creates it.
    kxTreeControl();

    /// Keeps the none item before every other item; the rest compare in natural order.
    int OnCompareItems(const wxTreeItemId& item1, const wxTreeItemId& item2) override;

    /// The item after item in a depth-first walk (an item, then its children) over the
    /// descendants of top; invalid after the last one.
    wxTreeItemId GetNextInTreeOrder(const wxTreeItemId& item, const wxTreeItemId& top) const;

protected:
    /// The translated "<none>".
    wxString m_noneText;
    /// Invalid until the pop-up creates the tree.
    wxTreeItemId m_noneItem;

private:
    void PrivateOnSelChanging(wxTreeEvent& event);

    wxDECLARE_DYNAMIC_CLASS_NO_COPY(kxTreeControl);
    wxDECLARE_EVENT_TABLE();
};

#endif
