#ifndef KXRUZOVORI_CONTROLS_KXTREECOMBOCHECKBOX_H
#define KXRUZOVORI_CONTROLS_KXTREECOMBOCHECKBOX_H

#include "kxRuzoVori/controls/kxTreeComboPopup.h"
#include "kxRuzoVori/core/kxEventHandler.h"
#include "kxRuzoVori/core/kxEventable.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/combo.h>

#include <vector>

/// A combo box whose drop-down is a tree of checkable items (or, in single-choice mode, of
/// plain items of which one is chosen). The field shows an icon and the chosen items' texts;
/// each time the drop-down closes, the combo fires EVENT_POPUP_CLOSED with that text as its one
/// parameter. Use the style wxCB_READONLY to have the icon drawn in the field.
///
/// Deviation: the text, GetSelection() and CheckItem() by text follow tree order, because the
/// toolkit's item ids on GTK are addresses that do not grow with insertion.
class KX_API kxTreeComboCheckBox : public wxComboCtrl, public kxEventHandler, public kxEventable
{
public:
    /// The combo's event.
    enum
    {
        /// The drop-down closed; the one text parameter is the text the combo now shows.
        EVENT_POPUP_CLOSED = 1
    };

    /// A combo in mode (one of kxTreeComboPopup's MODE_ values) whose field shows comboIcon and
    /// whose items show the three check images.
    /// \throws kxTreeComboCheckBoxException "Error creating kxTreeComboCheckBox control" when the
    ///         tree cannot be made.
    kxTreeComboCheckBox(int mode, const wxBitmap& comboIcon, const wxBitmap& checked,
                        const wxBitmap& unchecked, const wxBitmap& grayed, wxWindow* parent, int id,
                        const wxPoint& position = wxDefaultPosition,
                        const wxSize& size = wxDefaultSize, long style = 0);
    /// Stops hearing the pop-up, which the combo owns.
    ~kxTreeComboCheckBox() override;

    /// The drop-down's tree, for what the combo does not offer itself.
    kxTreeComboPopup* GetTreeCtrl() const { return m_popup; }
    /// The tree's hidden root: the parent of the top-level items.
    wxTreeItemId GetRoot() const;

    /// Appends an unchecked item as the last child of parent, with data (which the tree then
    /// owns), sorting parent's children in natural order when sort is true.
    wxTreeItemId AppendItem(const wxTreeItemId& parent, const wxString& text,
                            wxTreeItemData* data = nullptr, bool sort = false);
    /// Checks or unchecks item as kxTreeComboPopup::CheckItem() does and shows the new text.
    bool CheckItem(const wxTreeItemId& item, bool check = true, bool withoutPropagation = false);
    /// The same for the first item in tree order whose text is text; false when there is none.
    bool CheckItem(const wxString& text, bool check = true);
    /// True for checked and for grayed items.
    bool IsChecked(const wxTreeItemId& item) const;

    /// The text the check states make (see kxTreeComboPopup::GetStringValue).
    wxString GetValue() const override;
    /// Shows text in the field; the check states stay as they are.
    void SetValue(const wxString& text) override;

    /// The text field's own selection getter stays reachable beside the one below.
    using wxComboCtrl::GetSelection;
    /// The data of every checked or grayed item that has data, in tree order, each with true;
    /// false when there is none.
    bool GetSelection(std::vector<wxTreeItemData*>& data, std::vector<bool>& checked) const;
    /// The data of the item last clicked or checked, or null.
    wxTreeItemData* GetCurrentClientData() const;

    /// A walk over every item but the none item, each before its children; null at the end.
    ///@{
    /// A walk over every item but the none item, each before its children: item is where the
    /// walk stands; the result is that item's data (null for an item without data), and null
    /// with an invalid item at the end.
    wxTreeItemData* GetFirstItemData(wxTreeItemId& item);
    wxTreeItemData* GetNextItemData(wxTreeItemId& item);
    ///@}

    /// Sorts the children of item and of all its descendants in natural order, the none item
    /// first.
    void SortAll(const wxTreeItemId& item);
    /// Replaces the check images and the field's icon.
    void SetBitmaps(const wxBitmap& checked, const wxBitmap& unchecked, const wxBitmap& grayed,
                    const wxBitmap& comboIcon);
    /// The tree's text and background colours.
    void SetColors(const wxColour& colour1, const wxColour& colour2);
    /// Enables or disables the combo and its drop-down.
    bool Enable(bool enable = true) override;
    /// Leaves only the none item, checked, and shows its text.
    void Clear() override;

    /// Subscribed to the pop-up's closing: fires EVENT_POPUP_CLOSED with the combo text.
    bool PrivateOnHidePopup(kxEventable& source, kxParams& params);

private:
    void PrivateOnDeleteItem(wxTreeEvent& event);

    wxBitmap m_comboIcon;
    kxTreeComboPopup* m_popup;
    wxTreeItemId m_cursor;

    wxDECLARE_NO_COPY_CLASS(kxTreeComboCheckBox);
};

#endif
