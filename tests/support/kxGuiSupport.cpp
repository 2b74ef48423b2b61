// Helpers of the GUI test programs: showing, clicking and capturing windows.
#include "support/kxGuiSupport.h"

#include "support/kxTestSupport.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/uiaction.h>
#include <wx/window.h>

bool kxTestShow(wxWindow* window)
{
    window->Show();
    window->Raise();
    if (!kxTestWaitFor([&] { return window->IsShownOnScreen(); }, 5000))
        return false;
    window->Update();
    kxTestPumpEvents(150);
    return true;
}

void kxTestClick(wxWindow* window, const wxPoint& where, int button)
{
    wxUIActionSimulator sim;
    const wxPoint screen = window->ClientToScreen(where);
    sim.MouseMove(screen);
    kxTestPumpEvents(20);
    sim.MouseClick(button);
}

void kxTestClick(wxWindow* window, int button)
{
    const wxSize size = window->GetClientSize();
    kxTestClick(window, wxPoint(size.x / 2, size.y / 2), button);
}

wxImage kxTestCapture(wxWindow* window)
{
    window->Update();
    const wxSize size = window->GetClientSize();
    wxBitmap shot(size);
    wxClientDC source(window);
    wxMemoryDC target(shot);
    target.Blit(0, 0, size.x, size.y, &source, 0, 0);
    target.SelectObject(wxNullBitmap);
    return shot.ConvertToImage();
}
