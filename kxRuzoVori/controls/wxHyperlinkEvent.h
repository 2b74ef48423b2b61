#ifndef KXRUZOVORI_CONTROLS_WXHYPERLINKEVENT_H
#define KXRUZOVORI_CONTROLS_WXHYPERLINKEVENT_H

#include "kxRuzoVori/kxExport.h"

#include <wx/event.h>
#include <wx/gdicmn.h>

namespace kxRuzoVori
{
/// The event a hyperlink control sends for a click it does not handle itself: a command event
/// that also carries where the mouse was, in the parent's coordinates. Its three types are
/// wxEVT_COMMAND_LINK_CLICKED (left button, when the link does not browse itself),
/// wxEVT_COMMAND_LINK_MCLICKED (middle button) and wxEVT_COMMAND_LINK_RCLICKED (right button,
/// when the link shows no menu). The toolkit has a class of the same name: this one lives in the
/// namespace kxRuzoVori.
class KX_API wxHyperlinkEvent : public wxCommandEvent
{
public:
    /// An event of the given type from the control with the given id.
    explicit wxHyperlinkEvent(short type = wxEVT_NULL, int id = 0) : wxCommandEvent(type, id) {}

    /// Where the mouse was, in the parent's coordinates.
    wxPoint GetPosition() const { return m_position; }
    /// Sets where the mouse was.
    void SetPosition(const wxPoint& position) { m_position = position; }

    /// A copy, for the toolkit's event queue.
    wxEvent* Clone() const override { return new wxHyperlinkEvent(*this); }

private:
    wxPoint m_position;
};
} // namespace kxRuzoVori

/// A left click on a link that does not browse itself (kxRuzoVori::wxHyperlinkCtrl::AutoBrowse()).
wxDECLARE_EXPORTED_EVENT(KX_API, wxEVT_COMMAND_LINK_CLICKED, kxRuzoVori::wxHyperlinkEvent);
/// A middle click on a link.
wxDECLARE_EXPORTED_EVENT(KX_API, wxEVT_COMMAND_LINK_MCLICKED, kxRuzoVori::wxHyperlinkEvent);
/// A right click on a link that shows no menu (kxRuzoVori::wxHyperlinkCtrl::DoPopup()).
wxDECLARE_EXPORTED_EVENT(KX_API, wxEVT_COMMAND_LINK_RCLICKED, kxRuzoVori::wxHyperlinkEvent);

#endif
