// What every picture program shares: starting the toolkit, and saving what a window shows.
#ifndef KXEXAMPLES_KXSCREENSHOT_H
#define KXEXAMPLES_KXSCREENSHOT_H

#include <wx/string.h>

#include <functional>
#include <vector>

class WXDLLIMPEXP_FWD_CORE wxWindow;

// The whole of a picture program's main: starts the toolkit and calls shoot with the output folder
// (the program's one argument) once the event loop runs. Returns 0 when shoot returned true and
// the toolkit neither asserted nor logged an error.
int kxShotMain(int argc, char** argv, const std::function<bool(const wxString& folder)>& shoot);

// Shows a top-level window and waits until it is on screen and painted.
bool kxShotShow(wxWindow* window);
// Lets the event loop run for about ms milliseconds, so that windows repaint.
void kxShotPump(int ms);
// Writes what the window's client area shows to folder/name.png.
bool kxShotSave(wxWindow* window, const wxString& folder, const wxString& name);
// Writes what several windows show into one picture, each at its place on the screen: a window
// with the pop-ups it opened (which are windows of their own). The picture spans the first
// window's client area and whatever the others reach beyond it.
bool kxShotSave(const std::vector<wxWindow*>& windows, const wxString& folder,
                const wxString& name);

#endif
