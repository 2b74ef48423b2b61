#ifndef KXRUZOVORI_CONTROLS_KXAUITOOLBAR_H
#define KXRUZOVORI_CONTROLS_KXAUITOOLBAR_H

#include "kxRuzoVori/controls/kxMakeDisabledBitmap.h"
#include "kxRuzoVori/core/kxAuiToolbarException.h"
#include "kxRuzoVori/core/kxEventable.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/aui/auibar.h>
#include <wx/bitmap.h>
#include <wx/event.h>
#include <wx/menu.h>

#include <map>
#include <vector>

/// The icon sizes; the pixel size is (value + 1) * 16. Any other value counts as medium.
enum E_ICON_SIZES : int
{
    ICON_SIZE_SMALL = 0,  ///< 16 pixels.
    ICON_SIZE_MEDIUM = 1, ///< 32 pixels.
    ICON_SIZE_LARGE = 2   ///< 48 pixels.
};

/// Where tool labels go. Any other value counts as text on the right.
enum E_TOOL_TEXT_ORIENTATION : int
{
    TEXT_NONE = 0,  ///< No labels.
    TEXT_RIGHT = 1, ///< Labels right of the images.
    TEXT_BOTTOM = 2 ///< Labels below the images.
};

/// A dockable toolbar whose tools carry their images in three sizes (16, 32 and 48 pixels) and
/// switch between them together, with a right-click menu from which the user picks the icon size
/// and where tool labels go, and with greyed disabled images made from the normal ones.
///
/// The host adds its tools and calls Realize() once. Its later changes (the setters, new images,
/// deletions) wait for its next Realize(); a choice from the menu is applied at once. Events the
/// host may subscribe to (returning false vetoes):
///   EVENT_MENU_CHOICE (0): a choice from the menu was recorded; a veto keeps it from being applied
///                          until the host's next Realize().
///   EVENT_MENU_APPLIED (1): the choice has been applied.
///   EVENT_MENU_OPENING (2): the user right-clicked the toolbar; a veto keeps the menu closed.
///
/// The toolkit no longer resizes a toolbar's tools through its tool bitmap size (the call is still
/// made): each tool's image has the chosen pixel size itself, and GetIconSize() tells which one.
class KX_API kxAuiToolbar : public wxEvtHandler, public kxEventable
{
public:
    /// The toolbar's events; a subscriber returning false vetoes.
    enum
    {
        EVENT_MENU_CHOICE = 0,  ///< A menu choice was recorded; a veto defers it to Realize().
        EVENT_MENU_APPLIED = 1, ///< A menu choice was applied.
        EVENT_MENU_OPENING = 2  ///< The user right-clicked; a veto keeps the menu closed.
    };

    /// The toolbar is made as a child of parent, which owns it. The right-click menu uses the six
    /// ids menuBaseId ... menuBaseId + 5.
    /// \throws kxAuiToolbarException (class text "kxAuiToolbar") when parent is null.
    kxAuiToolbar(int menuBaseId, wxWindow* parent, int id = wxID_ANY,
                 const wxPoint& position = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                 long style = wxAUI_TB_DEFAULT_STYLE);
    kxAuiToolbar(const kxAuiToolbar&) = delete;
    kxAuiToolbar& operator=(const kxAuiToolbar&) = delete;
    /// Leaves the toolbar to its parent.
    ~kxAuiToolbar() override;

    /// The toolkit's toolbar, for a host's AUI manager and for what this class does not offer.
    wxAuiToolBar* GetAuiToolbar();

    ///@{
    /// Take effect at the next Realize(). A value outside the enumeration is recorded as medium
    /// icons or text on the right.
    void SetIconSize(E_ICON_SIZES size);
    void SetIconSize(int size);
    ///@}
    /// The icon size recorded last. (Deviation: toolkit 3.2 no longer resizes tools through the
    /// tool bitmap size on GTK; the size is kept here and every image has it itself.)
    E_ICON_SIZES GetIconSize() const;
    ///@{
    /// Where labels go, from the next Realize() on.
    void SetTextOrientation(E_TOOL_TEXT_ORIENTATION orientation);
    void SetTextOrientation(int orientation);
    ///@}
    /// The label placement recorded last.
    E_TOOL_TEXT_ORIENTATION GetTextOrientation() const;

    /// A bitmap set holds exactly three images: small, medium and large; any other count throws
    /// kxAuiToolbarException. Returns the toolbar, so calls can be chained. With disabled true the
    /// set holds the tool's disabled images, and the tool shows nothing while enabled; otherwise
    /// greyed disabled images are made from it.
    kxAuiToolbar& AddTool(int id, const wxString& label, const std::vector<wxBitmap>& bitmaps,
                          const wxString& shortHelp = wxEmptyString, bool disabled = false,
                          wxItemKind kind = wxITEM_NORMAL);
    /// A tool with a drop-down arrow, whose drop-down events go to function on sink.
    kxAuiToolbar& AddDropDown(int id, const wxString& label, const std::vector<wxBitmap>& bitmaps,
                              wxObjectEventFunction function, wxEvtHandler* sink,
                              const wxString& shortHelp = wxEmptyString, bool disabled = false);
    /// A separator after the tools added so far.
    void AddSeparator();
    /// New images for a tool, shown from the next Realize(). With makeDisabled, greyed disabled
    /// images made from a normal set are shown too; the set the toolbar keeps for the next change
    /// of icon size follows them.
    kxAuiToolbar& SetToolBitmaps(int id, const std::vector<wxBitmap>& bitmaps,
                                 bool disabled = false, bool makeDisabled = true);
    /// The tool goes at the next Realize(), and its images are forgotten.
    void DeleteTool(int id);
    /// Applies what is pending: icon size, label placement, new images, deletions, in this order.
    /// Throws kxAuiToolbarException when a tool the toolbar keeps disabled images for is gone.
    void Realize();

    /// The tool with this id, or null.
    wxAuiToolBarItem* FindTool(int id);
    /// Enables or disables the tool, showing its disabled image.
    void EnableTool(int id, bool enable);
    /// Presses or releases a check or radio tool.
    void ToggleTool(int id, bool toggle);
    ///@{
    /// The tool's label, or its tooltip (the last two do the same). These do nothing for an id
    /// that names no tool.
    void SetLabel(int id, const wxString& label);
    void SetToolShortHelp(int id, const wxString& help);
    void SetShortHelp(int id, const wxString& help);
    ///@}

    /// Whether the toolbar is docked upright.
    bool PrivateIsVertical();
    /// Checks the menu entries that match the icon size and label placement.
    void PrivateUpdateMenuCheck();
    /// Records new images for the tool, as SetToolBitmaps() does, without a greyed set.
    void PrivateSetToolBitmaps(int id, const std::vector<wxBitmap>& bitmaps, bool disabled);
    /// Greyed copies of the three images (kxMakeDisabledBitmap()).
    std::vector<wxBitmap> PrivateMakeDisabledBitmaps(const std::vector<wxBitmap>& bitmaps);
    /// Opens the menu on a right click, unless EVENT_MENU_OPENING is vetoed.
    void PrivateOnRClicked(wxAuiToolBarEvent& event);
    /// Records and applies a menu choice, firing EVENT_MENU_CHOICE and EVENT_MENU_APPLIED.
    void PrivateOnMenuItemClicked(wxCommandEvent& event);

private:
    typedef std::map<int, std::vector<wxBitmap>> BitmapSets;

    // The tool's image of the current icon size.
    const wxBitmap& PrivateImage(const std::vector<wxBitmap>& bitmaps) const;
    // Shows the disabled image of the current size on the tool.
    void PrivateSetDisabledImage(wxAuiToolBarItem* tool, const std::vector<wxBitmap>& bitmaps);

    wxAuiToolBar* m_toolbar;
    BitmapSets m_bitmaps;
    BitmapSets m_disabledBitmaps;
    BitmapSets m_pendingBitmaps;
    BitmapSets m_pendingDisabledBitmaps;
    std::vector<int> m_pendingDeletions;
    bool m_deletionsPending;
    bool m_imagesChanged;
    wxMenu* m_menu;
    E_ICON_SIZES m_iconSize;
    bool m_iconSizeChanged;
    long m_style;
    E_TOOL_TEXT_ORIENTATION m_textOrientation;
    bool m_textOrientationChanged;
    int m_menuIds[6];
};

#endif
