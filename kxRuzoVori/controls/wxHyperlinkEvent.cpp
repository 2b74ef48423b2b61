// The hyperlink control's event types, allocated when the library loads.
#include "kxRuzoVori/controls/wxHyperlinkEvent.h"

wxDEFINE_EVENT(wxEVT_COMMAND_LINK_CLICKED, kxRuzoVori::wxHyperlinkEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_LINK_MCLICKED, kxRuzoVori::wxHyperlinkEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_LINK_RCLICKED, kxRuzoVori::wxHyperlinkEvent);
