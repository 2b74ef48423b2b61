// Picture of the tray icon docked in a tray host, with a balloon the desktop's notification
// service shows for it (tray-balloon.png). The program brings its own small desktop on the X
// server it runs on: a session bus with a notification daemon, and the tray host trayer.
#include "support/kxScreenshot.h"

#include <kxRuzoVori/kxRuzoVori.h>

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <cstdio>

namespace
{
// The desktop's programs, run on a session bus of their own; once the notification daemon
// answers on the bus, the shell writes its process id and the bus address into the file named by
// $1.
const char* const kDesktop = R"(
/usr/lib/notification-daemon/notification-daemon >/dev/null 2>&1 &
trayer --edge top --align right --margin 440 --widthtype request --height 32 --transparent true \
    --alpha 0 --tint 0x2e3440 >/dev/null 2>&1 &
trap 'kill $(jobs -p) 2>/dev/null; exit 0' TERM
for i in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications 2>/dev/null |
        grep -q true && break
    sleep 0.1
done
echo "$$ $DBUS_SESSION_BUS_ADDRESS" >"$1.tmp" && mv "$1.tmp" "$1"
wait
)";

// The tray host's colour, as the desktop above gives it.
const wxColour kPanelColour(0x2e, 0x34, 0x40);

bool WaitFor(const std::function<bool()>& condition, int ms)
{
    wxStopWatch watch;
    while (!condition())
    {
        if (watch.Time() > ms)
            return false;
        kxShotPump(50);
    }
    return true;
}

// The part of the desktop the picture shows: a plain wallpaper behind the tray and the balloon.
class Wallpaper : public wxFrame
{
public:
    explicit Wallpaper(const wxRect& area)
        : wxFrame(nullptr, wxID_ANY, wxS("Desktop"), area.GetPosition(), area.GetSize(),
                  wxFRAME_NO_TASKBAR | wxBORDER_NONE)
    {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT,
             [this](wxPaintEvent&)
             {
                 wxAutoBufferedPaintDC dc(this);
                 dc.GradientFillLinear(GetClientRect(), wxColour(58, 110, 165),
                                       wxColour(28, 60, 100), wxSOUTH);
             });
    }
};

// The icon's image on the panel's colour: without a compositing manager, the tray shows the
// translucent parts of an image black.
wxBitmapBundle TrayImage()
{
    wxBitmap image(32, 32);
    wxMemoryDC dc(image);
    dc.SetBackground(wxBrush(kPanelColour));
    dc.Clear();
    dc.DrawBitmap(wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_OTHER, wxSize(24, 24)), 4, 4,
                  true);
    dc.SelectObject(wxNullBitmap);
    return wxBitmapBundle(image);
}

// What xwd reads from a window ("-root", or "-id" and a window id).
wxImage Xwd(const wxString& window)
{
    const wxString file = wxFileName::CreateTempFileName(wxS("kxShotTray"));
    const wxString pipeline = wxS("xwd -silent ") + window +
                              wxS(" | xwdtopnm 2>/dev/null | pnmtopng >\"") + file + wxS("\"");
    const wxScopedCharBuffer script = pipeline.utf8_str();
    const char* const command[] = {"sh", "-c", script.data(), nullptr};
    wxImage image;
    if (wxExecute(command, wxEXEC_SYNC) == 0)
        image.LoadFile(file, wxBITMAP_TYPE_PNG);
    wxRemoveFile(file);
    return image;
}

// Where this program's icon sits in the tray host's panel: its window id and its place on the
// screen, or an empty id while it is not docked.
wxString DockedIcon(wxPoint& at)
{
    wxArrayString tree;
    if (wxExecute(wxS("xwininfo -root -tree"), tree, wxEXEC_SYNC) != 0)
        return wxString();
    const wxString program = wxS("(\"") + wxTheApp->GetAppName() + wxS("\"");
    size_t panelIndent = wxString::npos;
    for (const wxString& line : tree)
    {
        const size_t indent = line.find_first_not_of(wxS(' '));
        if (indent == wxString::npos)
            continue;
        if (panelIndent != wxString::npos && indent <= panelIndent)
            panelIndent = wxString::npos;
        if (line.Contains(wxS("(\"panel\" \"trayer\")")))
            panelIndent = indent;
        else if (panelIndent != wxString::npos && line.Contains(program))
        {
            // "  0x200012 "name": ("class" "Class")  32x30+0+0  +807+1"
            long x = 0;
            long y = 0;
            const wxString place = line.AfterLast(wxS(' ')).Mid(1);
            if (place.BeforeFirst(wxS('+')).ToLong(&x) && place.AfterFirst(wxS('+')).ToLong(&y))
            {
                at = wxPoint(int(x), int(y));
                return line.Mid(indent).BeforeFirst(wxS(' '));
            }
        }
    }
    return wxString();
}

// What the X server shows in area. The tray host draws its icons apart from the screen's image,
// so the docked icon is read from its own window and put in its place.
wxImage ScreenArea(const wxRect& area)
{
    wxImage screen = Xwd(wxS("-root"));
    if (!screen.IsOk())
        return screen;
    wxPoint at;
    const wxString icon = DockedIcon(at);
    if (!icon.empty())
    {
        const wxImage image = Xwd(wxS("-id ") + icon);
        if (image.IsOk())
            screen.Paste(image, at.x, at.y);
    }
    return screen.GetSubImage(area);
}

bool Shoot(const wxString& folder)
{
    const wxRect screen = wxDisplay().GetGeometry();
    const wxRect area(screen.GetRight() + 1 - 520, 0, 520, 104);
    auto* wallpaper = new Wallpaper(area);
    if (!kxShotShow(wallpaper))
        return false;

    // The tray host comes after the wallpaper, so it lies on top of it.
    const wxString ready = wxFileName::CreateTempFileName(wxS("kxShotTrayBus"));
    wxRemoveFile(ready);
    const wxScopedCharBuffer readyPath = ready.utf8_str();
    // The bus daemon's complaints (it may not raise its file limit) are not the picture's.
    const char* const desktop[] = {
        "sh",
        "-c",
        "exec dbus-run-session -- sh -c \"$0\" desktop \"$1\" 2>/dev/null",
        kDesktop,
        readyPath.data(),
        nullptr};
    const long session = wxExecute(desktop, wxEXEC_ASYNC);
    wxString bus;
    const bool started = session > 0 && WaitFor(
                                            [&]
                                            {
                                                wxFFile file;
                                                return wxFileExists(ready) && file.Open(ready) &&
                                                       file.ReadAll(&bus) && !bus.empty();
                                            },
                                            10000);
    long shell = 0;
    bus.BeforeFirst(' ').ToLong(&shell);
    bool saved = false;
    if (started)
    {
        wxSetEnv(wxS("DBUS_SESSION_BUS_ADDRESS"), bus.AfterFirst(' ').Trim());
        if (WaitFor([] { return wxTaskBarIcon::IsAvailable(); }, 10000))
        {
            kxTaskBarIcon icon(wallpaper);
            icon.SetIcon(TrayImage(), wxS("Backup: 3 files waiting"));
            kxShotPump(800);
            if (icon.ShowBalloon(wxS("Backup finished"), wxS("3 files were saved to the archive."),
                                 60000, NIIF_INFO))
            {
                kxShotPump(1500);
                const wxImage picture = ScreenArea(area);
                const wxString path =
                    wxFileName(folder, wxS("tray-balloon"), wxS("png")).GetFullPath();
                saved = picture.IsOk() && picture.SaveFile(path, wxBITMAP_TYPE_PNG);
                if (saved)
                    printf("  %s (%d x %d)\n", path.utf8_str().data(), area.width, area.height);
            }
            icon.RemoveIcon();
        }
    }
    if (shell > 0)
        wxKill(shell, wxSIGTERM);
    else if (session > 0)
        wxKill(session, wxSIGTERM);
    wxRemoveFile(ready);
    wallpaper->Destroy();
    kxShotPump(50);
    return saved;
}
} // namespace

int main(int argc, char** argv)
{
    return kxShotMain(argc, argv, Shoot);
}
