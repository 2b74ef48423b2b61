// Helpers of the GUI test programs: showing a window, user input through simulated mouse clicks,
// and reading back the pixels a window shows.
#ifndef KXTESTS_KXGUISUPPORT_H
#define KXTESTS_KXGUISUPPORT_H

#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/mousestate.h>

class WXDLLIMPEXP_FWD_CORE wxWindow;

// Shows a top-level window, raises it and waits until it is on screen and painted; false when it
// did not appear in time.
bool kxTestShow(wxWindow* window);
// Moves the mouse to a point of the window (client coordinates) and clicks there.
void kxTestClick(wxWindow* window, const wxPoint& where, int button = wxMOUSE_BTN_LEFT);
// The same at the centre of the window.
void kxTestClick(wxWindow* window, int button = wxMOUSE_BTN_LEFT);
// What the window's client area shows now, read from the X server.
wxImage kxTestCapture(wxWindow* window);

#endif
