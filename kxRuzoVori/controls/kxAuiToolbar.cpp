// The three-size toolbar: its tools' image sets, what Realize() applies, and its right-click menu.
#include "kxRuzoVori/controls/kxAuiToolbar.h"

#include "kxRuzoVori/core/kxTranslate.h"

#include <algorithm>

namespace
{
enum
{
    MENU_NO_TEXT,
    MENU_TEXT_BOTTOM,
    MENU_TEXT_RIGHT,
    MENU_SMALL_ICONS,
    MENU_MEDIUM_ICONS,
    MENU_LARGE_ICONS,
    MENU_ITEMS
};

const int kSetSize = 3;

E_ICON_SIZES ValidIconSize(int size)
{
    return size >= ICON_SIZE_SMALL && size <= ICON_SIZE_LARGE ? static_cast<E_ICON_SIZES>(size)
                                                              : ICON_SIZE_MEDIUM;
}

E_TOOL_TEXT_ORIENTATION ValidTextOrientation(int orientation)
{
    return orientation >= TEXT_NONE && orientation <= TEXT_BOTTOM
               ? static_cast<E_TOOL_TEXT_ORIENTATION>(orientation)
               : TEXT_RIGHT;
}

wxSize PixelSize(E_ICON_SIZES size)
{
    const int pixels = (ValidIconSize(size) + 1) * 16;
    return wxSize(pixels, pixels);
}

// The toolkit draws nothing for a tool without a normal image, not even its disabled image: such
// a tool is given a transparent one of the disabled image's size instead.
wxBitmap TransparentLike(const wxBitmap& image)
{
    wxImage clear(image.GetSize());
    clear.SetAlpha();
    std::fill_n(clear.GetAlpha(), static_cast<size_t>(clear.GetWidth()) * clear.GetHeight(), 0);
    return wxBitmap(clear);
}

[[noreturn]] void ThrowToolbarError(const wxString& message)
{
    throw kxAuiToolbarException(message, kxTranslate(wxS("kxAuiToolbar")));
}
} // namespace

kxAuiToolbar::kxAuiToolbar(int menuBaseId, wxWindow* parent, int id, const wxPoint& position,
                           const wxSize& size, long style)
    : m_toolbar(nullptr), m_deletionsPending(false), m_imagesChanged(false), m_menu(nullptr),
      m_iconSize(ICON_SIZE_SMALL), m_iconSizeChanged(false), m_style(style),
      m_textOrientation(TEXT_RIGHT), m_textOrientationChanged(false)
{
    if (parent == nullptr)
        ThrowToolbarError(kxTranslate(
            wxS("Internal error in constructor kxAuiToolbar::kxAuiToolbar(). Parent is not set")));
    for (int i = 0; i < MENU_ITEMS; ++i)
        m_menuIds[i] = menuBaseId + i;
    RegisterEvent(EVENT_MENU_CHOICE);
    RegisterEvent(EVENT_MENU_APPLIED);
    RegisterEvent(EVENT_MENU_OPENING);
    m_toolbar = new wxAuiToolBar(parent, id, position, size, style);

    m_menu = new wxMenu;
    m_menu->AppendCheckItem(m_menuIds[MENU_NO_TEXT], kxTranslate(wxS("No text")),
                            kxTranslate(wxS("Displays toolbar without text labels")));
    m_menu->AppendCheckItem(m_menuIds[MENU_TEXT_BOTTOM], kxTranslate(wxS("Text bottom")),
                            kxTranslate(wxS("Displays toolbar with bottom text labels")));
    m_menu->AppendCheckItem(m_menuIds[MENU_TEXT_RIGHT], kxTranslate(wxS("Text on the right")),
                            kxTranslate(wxS("Displays toolbar with text labels on the right")));
    m_menu->AppendSeparator();
    m_menu->AppendCheckItem(m_menuIds[MENU_SMALL_ICONS], kxTranslate(wxS("Small icons")),
                            kxTranslate(wxS("Displays toolbar with small icons")));
    m_menu->AppendCheckItem(m_menuIds[MENU_MEDIUM_ICONS], kxTranslate(wxS("Medium icons")),
                            kxTranslate(wxS("Displays toolbar with medium icons")));
    m_menu->AppendCheckItem(m_menuIds[MENU_LARGE_ICONS], kxTranslate(wxS("Large icons")),
                            kxTranslate(wxS("Displays toolbar with large icons")));

    m_toolbar->Bind(wxEVT_MENU, &kxAuiToolbar::PrivateOnMenuItemClicked, this,
                    m_menuIds[MENU_NO_TEXT], m_menuIds[MENU_LARGE_ICONS]);
    m_toolbar->Bind(wxEVT_AUITOOLBAR_RIGHT_CLICK, &kxAuiToolbar::PrivateOnRClicked, this);
}

// The toolbar belongs to its parent; the connections to it are undone by the toolkit when this
// handler goes, so a toolbar that outlives this object sends it nothing.
kxAuiToolbar::~kxAuiToolbar()
{
    delete m_menu;
}

wxAuiToolBar* kxAuiToolbar::GetAuiToolbar()
{
    return m_toolbar;
}

void kxAuiToolbar::SetIconSize(E_ICON_SIZES size)
{
    SetIconSize(static_cast<int>(size));
}

void kxAuiToolbar::SetIconSize(int size)
{
    m_iconSize = ValidIconSize(size);
    m_iconSizeChanged = true;
}

E_ICON_SIZES kxAuiToolbar::GetIconSize() const
{
    return m_iconSize;
}

void kxAuiToolbar::SetTextOrientation(E_TOOL_TEXT_ORIENTATION orientation)
{
    SetTextOrientation(static_cast<int>(orientation));
}

void kxAuiToolbar::SetTextOrientation(int orientation)
{
    m_textOrientation = ValidTextOrientation(orientation);
    m_textOrientationChanged = true;
}

E_TOOL_TEXT_ORIENTATION kxAuiToolbar::GetTextOrientation() const
{
    return m_textOrientation;
}

const wxBitmap& kxAuiToolbar::PrivateImage(const std::vector<wxBitmap>& bitmaps) const
{
    return bitmaps[ValidIconSize(m_iconSize)];
}

void kxAuiToolbar::PrivateSetDisabledImage(wxAuiToolBarItem* tool,
                                           const std::vector<wxBitmap>& bitmaps)
{
    const wxBitmap& image = PrivateImage(bitmaps);
    tool->SetDisabledBitmap(image);
    if (m_bitmaps.count(tool->GetId()) == 0)
        tool->SetBitmap(TransparentLike(image));
}

void kxAuiToolbar::PrivateSetToolBitmaps(int id, const std::vector<wxBitmap>& bitmaps,
                                         bool disabled)
{
    if (bitmaps.size() != kSetSize)
        ThrowToolbarError(kxTranslate(wxS("Incorrect size of bitmaps array")));
    (disabled ? m_disabledBitmaps : m_bitmaps)[id] = bitmaps;
}

std::vector<wxBitmap> kxAuiToolbar::PrivateMakeDisabledBitmaps(const std::vector<wxBitmap>& bitmaps)
{
    std::vector<wxBitmap> greyed;
    greyed.reserve(bitmaps.size());
    for (const wxBitmap& bitmap : bitmaps)
        greyed.push_back(kxMakeDisabledBitmap(bitmap));
    return greyed;
}

kxAuiToolbar& kxAuiToolbar::AddTool(int id, const wxString& label,
                                    const std::vector<wxBitmap>& bitmaps, const wxString& shortHelp,
                                    bool disabled, wxItemKind kind)
{
    PrivateSetToolBitmaps(id, bitmaps, disabled);
    if (disabled)
    {
        const wxBitmap& image = PrivateImage(bitmaps);
        m_toolbar->AddTool(id, label, TransparentLike(image), image, kind, shortHelp, wxEmptyString,
                           nullptr);
        return *this;
    }
    std::vector<wxBitmap> greyed = PrivateMakeDisabledBitmaps(bitmaps);
    m_disabledBitmaps[id] = greyed;
    m_pendingDisabledBitmaps[id] = std::move(greyed);
    m_imagesChanged = true;
    m_toolbar->AddTool(id, label, PrivateImage(bitmaps), shortHelp, kind);
    return *this;
}

kxAuiToolbar& kxAuiToolbar::AddDropDown(int id, const wxString& label,
                                        const std::vector<wxBitmap>& bitmaps,
                                        wxObjectEventFunction function, wxEvtHandler* sink,
                                        const wxString& shortHelp, bool disabled)
{
    AddTool(id, label, bitmaps, shortHelp, disabled, wxITEM_NORMAL);
    m_toolbar->SetToolDropDown(id, true);
    m_toolbar->Connect(id, wxEVT_AUITOOLBAR_TOOL_DROPDOWN, function, nullptr, sink);
    return *this;
}

void kxAuiToolbar::AddSeparator()
{
    m_toolbar->AddSeparator();
}

kxAuiToolbar& kxAuiToolbar::SetToolBitmaps(int id, const std::vector<wxBitmap>& bitmaps,
                                           bool disabled, bool makeDisabled)
{
    PrivateSetToolBitmaps(id, bitmaps, disabled);
    if (disabled)
    {
        m_pendingDisabledBitmaps[id] = bitmaps;
    }
    else
    {
        m_pendingBitmaps[id] = bitmaps;
        if (makeDisabled)
        {
            // The kept set follows, so that a later change of icon size shows these greyed images
            // rather than those of the tool's first images.
            m_disabledBitmaps[id] = PrivateMakeDisabledBitmaps(bitmaps);
            m_pendingDisabledBitmaps[id] = m_disabledBitmaps[id];
        }
    }
    m_imagesChanged = true;
    return *this;
}

void kxAuiToolbar::DeleteTool(int id)
{
    m_pendingDeletions.push_back(id);
    m_deletionsPending = true;
}

void kxAuiToolbar::Realize()
{
    if (m_iconSizeChanged)
    {
        m_iconSize = ValidIconSize(m_iconSize);
        for (const auto& [id, bitmaps] : m_bitmaps)
            m_toolbar->SetToolBitmap(id, PrivateImage(bitmaps));
        for (const auto& [id, bitmaps] : m_disabledBitmaps)
        {
            wxAuiToolBarItem* tool = m_toolbar->FindTool(id);
            if (tool == nullptr)
                ThrowToolbarError(kxTranslate(wxS("Can not find tool with id")) +
                                  wxString::Format(wxS("%d"), id));
            PrivateSetDisabledImage(tool, bitmaps);
        }
        m_iconSizeChanged = false;
    }
    if (m_textOrientationChanged)
    {
        long style = m_style;
        if (m_textOrientation == TEXT_NONE)
            style &= ~static_cast<long>(wxAUI_TB_TEXT);
        else
            style |= wxAUI_TB_TEXT;
        m_toolbar->SetWindowStyleFlag(style);
        m_toolbar->SetToolTextOrientation(
            m_textOrientation == TEXT_BOTTOM ? wxAUI_TBTOOL_TEXT_BOTTOM : wxAUI_TBTOOL_TEXT_RIGHT);
        m_textOrientationChanged = false;
    }
    // Images set for an id that names no tool wait for nothing: they are dropped here.
    if (m_imagesChanged)
    {
        for (const auto& [id, bitmaps] : m_pendingDisabledBitmaps)
            if (wxAuiToolBarItem* tool = m_toolbar->FindTool(id))
                PrivateSetDisabledImage(tool, bitmaps);
        for (const auto& [id, bitmaps] : m_pendingBitmaps)
            if (m_toolbar->FindTool(id) != nullptr)
                m_toolbar->SetToolBitmap(id, PrivateImage(bitmaps));
        m_pendingDisabledBitmaps.clear();
        m_pendingBitmaps.clear();
        m_imagesChanged = false;
    }
    if (m_deletionsPending)
    {
        for (int id : m_pendingDeletions)
        {
            m_toolbar->DeleteTool(id);
            m_bitmaps.erase(id);
            m_disabledBitmaps.erase(id);
            m_pendingBitmaps.erase(id);
            m_pendingDisabledBitmaps.erase(id);
        }
        m_pendingDeletions.clear();
        m_deletionsPending = false;
    }
    PrivateUpdateMenuCheck();
    m_toolbar->Realize();
}

wxAuiToolBarItem* kxAuiToolbar::FindTool(int id)
{
    return m_toolbar->FindTool(id);
}

void kxAuiToolbar::EnableTool(int id, bool enable)
{
    m_toolbar->EnableTool(id, enable);
}

void kxAuiToolbar::ToggleTool(int id, bool toggle)
{
    m_toolbar->ToggleTool(id, toggle);
}

void kxAuiToolbar::SetLabel(int id, const wxString& label)
{
    if (wxAuiToolBarItem* tool = m_toolbar->FindTool(id))
        tool->SetLabel(label);
}

void kxAuiToolbar::SetToolShortHelp(int id, const wxString& help)
{
    if (wxAuiToolBarItem* tool = m_toolbar->FindTool(id))
        tool->SetShortHelp(help);
}

void kxAuiToolbar::SetShortHelp(int id, const wxString& help)
{
    SetToolShortHelp(id, help);
}

bool kxAuiToolbar::PrivateIsVertical()
{
    return (m_toolbar->GetWindowStyleFlag() & wxAUI_TB_VERTICAL) != 0;
}

void kxAuiToolbar::PrivateUpdateMenuCheck()
{
    m_menu->Check(m_menuIds[MENU_NO_TEXT], m_textOrientation == TEXT_NONE);
    m_menu->Check(m_menuIds[MENU_TEXT_BOTTOM], m_textOrientation == TEXT_BOTTOM);
    m_menu->Check(m_menuIds[MENU_TEXT_RIGHT], m_textOrientation == TEXT_RIGHT);
    m_menu->Check(m_menuIds[MENU_SMALL_ICONS], m_iconSize == ICON_SIZE_SMALL);
    m_menu->Check(m_menuIds[MENU_MEDIUM_ICONS], m_iconSize == ICON_SIZE_MEDIUM);
    m_menu->Check(m_menuIds[MENU_LARGE_ICONS], m_iconSize == ICON_SIZE_LARGE);
}

void kxAuiToolbar::PrivateOnRClicked(wxAuiToolBarEvent&)
{
    m_menu->Enable(m_menuIds[MENU_TEXT_RIGHT], !PrivateIsVertical());
    if (FireEvent(EVENT_MENU_OPENING))
        m_toolbar->PopupMenu(m_menu);
}

void kxAuiToolbar::PrivateOnMenuItemClicked(wxCommandEvent& event)
{
    const int choice = event.GetId() - m_menuIds[MENU_NO_TEXT];
    switch (choice)
    {
    case MENU_NO_TEXT:
        m_textOrientation = TEXT_NONE;
        break;
    case MENU_TEXT_BOTTOM:
        m_textOrientation = TEXT_BOTTOM;
        break;
    case MENU_TEXT_RIGHT:
        m_textOrientation = TEXT_RIGHT;
        break;
    default:
        m_iconSize = ValidIconSize(choice - MENU_SMALL_ICONS);
        m_iconSizeChanged = true;
        m_textOrientation = ValidTextOrientation(m_textOrientation);
        break;
    }
    // The toolkit ignores the tool bitmap size on this platform; the size shown comes from the
    // images themselves, which Realize() picks by the icon size kept here.
    m_toolbar->SetToolBitmapSize(PixelSize(m_iconSize));
    m_textOrientationChanged = true;
    if (FireEvent(EVENT_MENU_CHOICE))
    {
        Realize();
        FireEvent(EVENT_MENU_APPLIED);
    }
}
