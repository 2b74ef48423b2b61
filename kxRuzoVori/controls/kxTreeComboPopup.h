#ifndef KXRUZOVORI_CONTROLS_KXTREECOMBOPOPUP_H
#define KXRUZOVORI_CONTROLS_KXTREECOMBOPOPUP_H

#include "kxRuzoVori/controls/kxTreeControl.h"
#include "kxRuzoVori/core/kxEventable.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/combo.h>

#include <map>
#include <vector>

/// The drop-down of the tree combo: a tree whose items carry check states (unchecked, checked,
/// grayed) shown by their images, or, in single-choice mode, plain items of which one is chosen.
/// Clicks on an item's image or label step its state and propagate it as the mode says; the
/// pop-up announces its closing as event EVENT_DISMISSED.
class KX_API kxTreeComboPopup : public kxTreeControl, public wxComboPopup, public kxEventable
{
public:
    /// The pop-up's event.
    enum
    {
        EVENT_DISMISSED = 1 ///< The drop-down closed.
    };

    /// Modes.
    enum
    {
        MODE_CHECK_DOWN = 0, ///< Several checked items; a full check or uncheck applies to all
                             ///< descendants.
        MODE_CHECK_UP = 1,   ///< Several checked items; each parent follows its children
                             ///< (checked, unchecked or grayed).
        MODE_SINGLE = 2      ///< One chosen item, which closes the drop-down.
    };

    /// Check states.
    enum
    {
        STATE_UNCHECKED = 0, ///< Not chosen.
        STATE_CHECKED = 1,   ///< Chosen.
        STATE_GRAYED = 2     ///< Some of the item's descendants are chosen.
    };

    /// Sizes.
    enum
    {
        MAX_HEIGHT = 200 ///< The longest the drop-down gets, in pixels.
    };

    /// A pop-up in mode with the given images, whose tree will get the id treeId and the width
    /// of size; the tree itself is made by Create().
    kxTreeComboPopup(int mode, const wxBitmap& comboIcon, const wxBitmap& checked,
                     const wxBitmap& unchecked, const wxBitmap& grayed, int treeId,
                     const wxSize& size);

    /// Creates the tree under parent with its root and the none item.
    /// \throws kxTreeComboCheckBoxException "Error creating kxTreeComboCheckBox control" when the
    ///         window cannot be made.
    bool Create(wxWindow* parent) override;
    /// The tree itself.
    wxWindow* GetControl() override { return this; }
    /// The combo's width and at most MAX_HEIGHT pixels.
    wxSize GetAdjustedSize(int minWidth, int prefHeight, int maxHeight) override;
    /// Called by the combo as the drop-down opens.
    void OnPopup() override;
    /// Called by the combo as the drop-down closes: fires EVENT_DISMISSED.
    void OnDismiss() override;
    /// Draws the combo icon and the combo's text into the combo field.
    void PaintComboControl(wxDC& dc, const wxRect& rect) override;
    /// The checked and grayed items' texts joined by ",", or in single-choice mode the chosen
    /// item's path joined by "/"; empty until an item was first clicked or checked.
    wxString GetStringValue() const override;

    /// Appends an unchecked item as the last child of parent, sorting parent's children when
    /// sort is true.
    wxTreeItemId AppendItem(const wxTreeItemId& parent, const wxString& text, bool sort = false,
                            wxTreeItemData* data = nullptr);
    /// Unchecks the none item, then sets item to check (withoutPropagation) or advances it one
    /// step of the click cycle with its propagation. False for an item this tree does not hold.
    bool CheckItem(const wxTreeItemId& item, bool check = true, bool withoutPropagation = false);
    /// As above, with propagation, for the first item in tree order whose text is text.
    bool CheckItem(const wxString& text, bool check = true);
    /// True for checked and for grayed items.
    bool IsChecked(const wxTreeItemId& item) const;
    /// True for grayed items only.
    bool IsGrayed(const wxTreeItemId& item) const;
    /// The tree's own selection getter stays reachable beside the one below.
    using kxTreeControl::GetSelection;
    /// The data of every checked or grayed item that has data, in tree order, each with true.
    bool GetSelection(std::vector<wxTreeItemData*>& data, std::vector<bool>& checked) const;
    /// The data of the item last clicked or checked, or null.
    wxTreeItemData* GetCurrentClientData() const;
    /// Sorts the children of item (of the root when item is invalid) and of all its descendants.
    void SortAll(const wxTreeItemId& item);
    /// Replaces the check images and the field's icon.
    void SetBitmaps(const wxBitmap& checked, const wxBitmap& unchecked, const wxBitmap& grayed,
                    const wxBitmap& comboIcon);
    /// The tree's text and background colours.
    void SetColors(const wxColour& colour1, const wxColour& colour2);
    /// Leaves only the none item, checked.
    void Clear();

    /// The "<none>" item, which stands for nothing chosen.
    wxTreeItemId GetNoneItem() const { return m_noneItem; }
    /// One of the MODE_ values.
    int GetMode() const { return m_mode; }

private:
    enum
    {
        IMAGE_COMBO = 0,
        IMAGE_CHECKED = 1,
        IMAGE_UNCHECKED = 2,
        IMAGE_GRAYED = 3,
        IMAGE_COUNT = 4
    };

    int PrivateState(const wxTreeItemId& item) const;
    int PrivateNewItemImage() const;
    void PrivateMakeImageList();
    wxTreeItemId PrivateAddNoneItem();

    void PrivateOnlyCheck(const wxTreeItemId& item, int state);
    // One step of the click cycle; check decides the none item and the descendants in the
    // first mode.
    void PrivateCheckItem(const wxTreeItemId& item, bool check);
    void PrivateCheckSubNodes(const wxTreeItemId& item, bool check);
    void PrivateCheckParentNodes(const wxTreeItemId& item, bool check);
    void PrivateUncheckAllItems(const wxTreeItemId& except);
    bool PrivateIsAllUnchecked() const;
    wxTreeItemId PrivateFindItemByText(const wxTreeItemId& item, const wxString& text) const;

    void PrivateOnMouseClickDown(wxMouseEvent& event);
    void PrivateOnMouseClickUp(wxMouseEvent& event);
    void PrivateOnDeleteItem(wxTreeEvent& event);

    int m_mode;
    wxBitmap m_bitmaps[IMAGE_COUNT];
    int m_treeId;
    wxSize m_size;
    wxColour m_colour1;
    wxColour m_colour2;
    // Check state of every item appended or clicked, by the item's identity. Walks that give
    // the states an order follow the tree.
    std::map<wxTreeItemIdValue, unsigned char> m_states;
    wxTreeItemId m_currentItem;
    wxTreeItemId m_previousItem;

    wxDECLARE_NO_COPY_CLASS(kxTreeComboPopup);
    wxDECLARE_EVENT_TABLE();
};

#endif
