// A combo box whose drop-down is a tree of checkable items (or, in single-choice mode, of
// plain items of which one is chosen). The field shows an icon and the chosen items' texts;
// each time the drop-down closes, the combo fires EVENT_POPUP_CLOSED with that text as its one
// parameter. Use the style wxCB_READONLY to have the icon drawn in the field.
#ifndef KXRUZOVORI_CONTROLS_KXTREECOMBOCHECKBOX_H
#define KXRUZOVORI_CONTROLS_KXTREECOMBOCHECKBOX_H

#include "kxRuzoVori/controls/kxTreeComboPopup.h"
#include "kxRuzoVori/core/kxEventHandler.h"
#include "kxRuzoVori/core/kxEventable.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/combo.h>

#include <vector>

class KX_API kxTreeComboCheckBox : public wxComboCtrl, public kxEventHandler, public kxEventable
{
public:
    enum
    {
        EVENT_POPUP_CLOSED = 1
    };

    // mode is one of kxTreeComboPopup's modes. Throws kxTreeComboCheckBoxException when the
    // tree cannot be made.
    kxTreeComboCheckBox(int mode, const wxBitmap& comboIcon, const wxBitmap& checked,
                        const wxBitmap& unchecked, const wxBitmap& grayed, wxWindow* parent, int id,
                        const wxPoint& position = wxDefaultPosition,
                        const wxSize& size = wxDefaultSize, long style = 0);
    ~kxTreeComboCheckBox() override;

    kxTreeComboPopup* GetTreeCtrl() const { return m_popup; }
    // The tree's hidden root: the parent of the top-level items.
    wxTreeItemId GetRoot() const;

    wxTreeItemId AppendItem(const wxTreeItemId& parent, const wxString& text,
                            wxTreeItemData* data = nullptr, bool sort = false);
    bool CheckItem(const wxTreeItemId& item, bool check = true, bool withoutPropagation = false);
    bool CheckItem(const wxString& text, bool check = true);
    // True for checked and for grayed items.
    bool IsChecked(const wxTreeItemId& item) const;

    // The text the check states make (see kxTreeComboPopup::GetStringValue).
    wxString GetValue() const override;
    // Shows text in the field; the check states stay as they are.
    void SetValue(const wxString& text) override;

    bool GetSelection(std::vector<wxTreeItemData*>& data, std::vector<bool>& checked) const;
    wxTreeItemData* GetCurrentClientData() const;

    // A walk over every item but the none item, each before its children; null at the end.
    wxTreeItemData* GetFirstItemData(wxTreeItemId& item);
    wxTreeItemData* GetNextItemData(wxTreeItemId& item);

    void SortAll(const wxTreeItemId& item);
    void SetBitmaps(const wxBitmap& checked, const wxBitmap& unchecked, const wxBitmap& grayed,
                    const wxBitmap& comboIcon);
    void SetColors(const wxColour& colour1, const wxColour& colour2);
    bool Enable(bool enable = true) override;
    // Leaves only the none item, checked, and shows its text.
    void Clear() override;

    // Subscribed to the pop-up's closing: fires EVENT_POPUP_CLOSED with the combo text.
    bool PrivateOnHidePopup(kxEventable& source, kxParams& params);

private:
    void PrivateOnDeleteItem(wxTreeEvent& event);

    wxBitmap m_comboIcon;
    kxTreeComboPopup* m_popup;
    wxTreeItemId m_cursor;

    wxDECLARE_NO_COPY_CLASS(kxTreeComboCheckBox);
};

#endif
