#ifndef KXRUZOVORI_CONTROLS_WXHYPERLINKCTRL_H
#define KXRUZOVORI_CONTROLS_WXHYPERLINKCTRL_H

#include "kxRuzoVori/controls/wxHyperlinkEvent.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/colour.h>
#include <wx/cursor.h>
/// The toolkit's own static text first: the generic one's header, included alone, hides it.
#include <wx/stattext.h>

#include <wx/generic/stattextg.h>

namespace kxRuzoVori
{
/// A static text that behaves as a web link: drawn in link colours with a hand cursor, optionally
/// changing its look while the mouse is over it, it opens its URL in a browser on a left click
/// (or reports the click as a wxHyperlinkEvent), offers a menu that copies the URL, and remembers
/// that it was visited. The toolkit has a class of the same name: this one lives in the namespace
/// kxRuzoVori.
///
/// Setters only store; UpdateLink() applies what they stored. Nothing here throws.
///
/// Deviations: the link is drawn by the toolkit's generic static text, the only one that hears
/// the mouse enter and leave on GTK; it opens URLs with the desktop's default browser
/// (`xdg-open`) where Windows read the browser from the registry.
class KX_API wxHyperlinkCtrl : public wxGenericStaticText
{
public:
    /// The id of the menu's "Copy" item.
    enum
    {
        ID_COPY = 1000 ///< The "Copy" item.
    };

    /// A link showing label under parent; an empty url makes the label the URL. The style gets
    /// the bit 0x20000 added.
    wxHyperlinkCtrl(wxWindow* parent, wxWindowID id, const wxString& label,
                    const wxPoint& position = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                    long style = 0, const wxString& name = wxS("hyperlink"),
                    const wxString& url = wxString());

    /// Also the tool tip.
    void SetURL(const wxString& url);
    /// The URL a click opens.
    wxString GetURL() const { return m_url; }
    /// A command the URL is appended to, with no blank between them; empty for the desktop's
    /// default browser.
    void SetBrowserPath(const wxString& path) { m_browserPath = path; }
    /// The browser command, empty for the desktop's default browser.
    wxString GetBrowserPath() const { return m_browserPath; }
    /// The colours of a link not visited yet, of a visited link and of a link under the mouse.
    void SetColours(const wxColour& link, const wxColour& visited, const wxColour& rollover);
    /// The three colours SetColours() sets (the name is kept as hosts know it).
    void GetColous(wxColour& link, wxColour& visited, wxColour& rollover) const;
    /// Whether the link is underlined when not visited, visited and under the mouse.
    void SetUnderlines(bool link, bool visited, bool rollover);
    /// Leaves its arguments as they are, as it always has: hosts keep the flags they set.
    void GetUnderlines(bool& link, bool& visited, bool& rollover) const;
    /// Whether the link takes the rollover look while the mouse is over it.
    void EnableRollover(bool enable) { m_rollover = enable; }
    /// Marks the link visited or not; a click marks it visited.
    void SetVisited(bool visited) { m_visited = visited; }
    /// Whether the link counts as visited.
    bool GetVisited() const { return m_visited; }
    /// Whether the label is bold.
    void SetBold(bool bold) { m_bold = bold; }
    /// Whether the label is bold.
    bool GetBold() const { return m_bold; }
    /// The cursor over the link (a hand by default).
    void SetLinkCursor(const wxCursor& cursor) { m_linkCursor = cursor; }
    /// The cursor over the link.
    wxCursor GetLinkCursor() const { return m_linkCursor; }
    /// Whether GotoURL failures of a click are shown in a message box.
    void ReportErrors(bool report) { m_reportErrors = report; }
    /// Whether a left click opens the URL (or sends wxEVT_COMMAND_LINK_CLICKED instead).
    void AutoBrowse(bool autoBrowse) { m_autoBrowse = autoBrowse; }
    /// Whether a right click shows the "Copy" menu (or sends wxEVT_COMMAND_LINK_RCLICKED).
    void DoPopup(bool popup) { m_popup = popup; }
    /// Kept for hosts; changes nothing here, since a browser on Linux decides itself whether it
    /// opens a new window.
    void OpenInSameWindow(bool sameWindow) { m_sameWindow = sameWindow; }

    /// Applies colour, underline and weight for the visited state, repainting the control
    /// (and its background when refresh is true).
    void UpdateLink(bool refresh = true);

    /// Opens url with browserPath followed by url, or with the desktop's default browser when
    /// browserPath is empty. Both are started without waiting for them. On failure the reason
    /// is shown when reportErrors is true, and the result is false. On this system a browser
    /// decides itself whether it opens a new window, so openInSameWindow changes nothing.
    bool GotoURL(const wxString& url, const wxString& browserPath = wxString(),
                 bool reportErrors = true, bool openInSameWindow = false);
    /// With report true, shows text in an error message box titled "Hyperlink Error".
    void DisplayError(const wxString& text, bool report);

private:
    void PrivateApplyLook(const wxColour& colour, bool underline);
    // Sends a link event to the parent; false when its handler destroyed the link.
    bool PrivateSendEvent(const wxEventType& type, const wxPoint& mouse);
    void PrivateOnMouse(wxMouseEvent& event);
    void PrivateOnCopy(wxCommandEvent& event);

    wxString m_url;
    wxString m_browserPath;
    wxColour m_linkColour;
    wxColour m_visitedColour;
    wxColour m_rolloverColour;
    bool m_underlineLink = true;
    bool m_underlineRollover = true;
    bool m_underlineVisited = true;
    bool m_rollover = false;
    bool m_visited = false;
    bool m_bold = false;
    wxCursor m_linkCursor;
    bool m_reportErrors = true;
    bool m_autoBrowse = true;
    bool m_popup = true;
    bool m_sameWindow = false;

    wxDECLARE_NO_COPY_CLASS(wxHyperlinkCtrl);
};
} // namespace kxRuzoVori

#endif
