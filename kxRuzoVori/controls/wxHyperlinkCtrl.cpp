// The hyperlink control: its look, its mouse handling and opening its URL.
#include "kxRuzoVori/controls/wxHyperlinkCtrl.h"

#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/platform/kxPlatformProcess.h"

#include <wx/clipbrd.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/weakref.h>

namespace kxRuzoVori
{
namespace
{
// Added to every link's window style.
const long kLinkStyle = 0x20000;
} // namespace

wxHyperlinkCtrl::wxHyperlinkCtrl(wxWindow* parent, wxWindowID id, const wxString& label,
                                 const wxPoint& position, const wxSize& size, long style,
                                 const wxString& name, const wxString& url)
    : wxGenericStaticText(parent, id, label, position, size, style | kLinkStyle, name),
      m_linkColour(wxS("BLUE")), m_visitedColour(wxS("VIOLET")), m_rolloverColour(wxS("BLUE")),
      m_linkCursor(wxCURSOR_HAND)
{
    SetURL(url.empty() ? label : url);
    for (const wxEventTypeTag<wxMouseEvent>& type :
         {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_MIDDLE_DOWN, wxEVT_MIDDLE_UP,
          wxEVT_MIDDLE_DCLICK, wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP, wxEVT_RIGHT_DCLICK, wxEVT_MOTION,
          wxEVT_ENTER_WINDOW, wxEVT_LEAVE_WINDOW, wxEVT_MOUSEWHEEL})
        Bind(type, &wxHyperlinkCtrl::PrivateOnMouse, this);
    Bind(wxEVT_MENU, &wxHyperlinkCtrl::PrivateOnCopy, this, ID_COPY);
    UpdateLink();
}

void wxHyperlinkCtrl::SetURL(const wxString& url)
{
    m_url = url;
    SetToolTip(url);
}

void wxHyperlinkCtrl::SetColours(const wxColour& link, const wxColour& visited,
                                 const wxColour& rollover)
{
    m_linkColour = link;
    m_visitedColour = visited;
    m_rolloverColour = rollover;
}

void wxHyperlinkCtrl::GetColous(wxColour& link, wxColour& visited, wxColour& rollover) const
{
    link = m_linkColour;
    visited = m_visitedColour;
    rollover = m_rolloverColour;
}

void wxHyperlinkCtrl::SetUnderlines(bool link, bool visited, bool rollover)
{
    m_underlineLink = link;
    m_underlineVisited = visited;
    m_underlineRollover = rollover;
}

void wxHyperlinkCtrl::GetUnderlines(bool&, bool&, bool&) const {}

void wxHyperlinkCtrl::UpdateLink(bool refresh)
{
    if (m_visited)
        PrivateApplyLook(m_visitedColour, m_underlineVisited);
    else
        PrivateApplyLook(m_linkColour, m_underlineLink);
    Refresh(refresh);
}

bool wxHyperlinkCtrl::GotoURL(const wxString& url, const wxString& browserPath, bool reportErrors,
                              bool)
{
    wxLogNull quiet;
    if (!browserPath.empty())
    {
        unsigned long pid = 0;
        int error = 0;
        // A browser is named as on a shell's command line.
        if (kxPlatform::StartProcess(browserPath + url, pid, error, true))
            return true;
        DisplayError(kxTranslate(wxS("Unable to launch specified browser.")), reportErrors);
        return false;
    }
    if (kxPlatform::OpenDocument(url))
        return true;
    DisplayError(kxTranslate(wxS("Unable to launch default browser.")), reportErrors);
    return false;
}

void wxHyperlinkCtrl::DisplayError(const wxString& text, bool report)
{
    if (report)
        wxMessageBox(text, kxTranslate(wxS("Hyperlink Error")), wxOK | wxICON_ERROR, this);
}

void wxHyperlinkCtrl::PrivateApplyLook(const wxColour& colour, bool underline)
{
    wxFont font = GetFont();
    font.SetUnderlined(underline);
    if (m_bold)
        font.SetWeight(wxFONTWEIGHT_BOLD);
    SetForegroundColour(colour);
    SetFont(font);
}

bool wxHyperlinkCtrl::PrivateSendEvent(const wxEventType& type, const wxPoint& mouse)
{
    wxWindow* parent = GetParent();
    if (!parent)
        return true;
    wxHyperlinkEvent event(static_cast<short>(type), GetId());
    event.SetEventObject(this);
    event.SetPosition(GetPosition() + mouse);
    // A handler may destroy the link; then nothing of it may be touched afterwards.
    const wxWeakRef<wxHyperlinkCtrl> alive(this);
    parent->GetEventHandler()->ProcessEvent(event);
    return alive;
}

void wxHyperlinkCtrl::PrivateOnMouse(wxMouseEvent& event)
{
    event.Skip();
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_ENTER_WINDOW)
    {
        SetCursor(m_linkCursor);
        if (m_rollover)
        {
            PrivateApplyLook(m_rolloverColour, m_underlineRollover);
            Refresh();
        }
    }
    else if (type == wxEVT_LEAVE_WINDOW)
    {
        SetCursor(wxNullCursor);
        if (m_rollover)
            UpdateLink();
    }
    else if (type == wxEVT_LEFT_UP)
    {
        if (m_autoBrowse)
            GotoURL(m_url, m_browserPath, m_reportErrors, m_sameWindow);
        else if (!PrivateSendEvent(wxEVT_COMMAND_LINK_CLICKED, event.GetPosition()))
            return;
        m_visited = true;
    }
    else if (type == wxEVT_RIGHT_UP)
    {
        if (m_popup)
        {
            wxMenu menu;
            menu.Append(ID_COPY, kxTranslate(wxS("Copy")));
            PopupMenu(&menu, event.GetPosition());
        }
        else
            PrivateSendEvent(wxEVT_COMMAND_LINK_RCLICKED, event.GetPosition());
    }
    else if (type == wxEVT_MIDDLE_UP)
        PrivateSendEvent(wxEVT_COMMAND_LINK_MCLICKED, event.GetPosition());
}

void wxHyperlinkCtrl::PrivateOnCopy(wxCommandEvent&)
{
    if (!wxTheClipboard->Open())
        return;
    wxTheClipboard->SetData(new wxTextDataObject(m_url));
    wxTheClipboard->Close();
}
} // namespace kxRuzoVori
