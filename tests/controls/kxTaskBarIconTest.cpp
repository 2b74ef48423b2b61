// The tray icon on a test desktop of its own: a tray host and a notification daemon on a private
// bus.
#include "kxRuzoVori/controls/kxTaskBarIcon.h"
#include "kxRuzoVori/platform/kxPlatformNotification.h"
#include "support/kxTestSupport.h"

#include <glib-object.h>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/filefn.h>
#include <wx/frame.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
// A desktop of the test's own on its private X server: a session bus with a tray host, a
// notification daemon and a monitor that writes down every call to the daemon.
const char* const kDesktop = R"(
dir=$1
dbus-monitor --session "interface='org.freedesktop.Notifications'" >"$dir/monitor.log" 2>&1 &
/usr/lib/notification-daemon/notification-daemon >/dev/null 2>&1 &
trayer --edge top --align right --widthtype pixel --width 120 --height 32 >/dev/null 2>&1 &
trap 'kill $(jobs -p) 2>/dev/null; exit 0' TERM
echo "$$ $DBUS_SESSION_BUS_ADDRESS" >"$dir/bus.tmp" && mv "$dir/bus.tmp" "$dir/bus"
wait
)";

// True when a window of this program sits inside the tray host's panel.
bool IsDocked()
{
    const std::string name = "(\"" + std::string(wxTheApp->GetAppName().utf8_str()) + "\"";
    const std::string tree = kxTestRunCommand("xwininfo -root -tree 2>/dev/null");
    size_t panelIndent = std::string::npos;
    size_t start = 0;
    while (start < tree.size())
    {
        size_t end = tree.find('\n', start);
        if (end == std::string::npos)
            end = tree.size();
        const std::string line = tree.substr(start, end - start);
        start = end + 1;
        const size_t indent = line.find_first_not_of(' ');
        if (indent == std::string::npos)
            continue;
        if (panelIndent != std::string::npos && indent <= panelIndent)
            panelIndent = std::string::npos;
        if (line.find("(\"panel\" \"trayer\")") != std::string::npos)
            panelIndent = indent;
        else if (panelIndent != std::string::npos && line.find(name) != std::string::npos)
            return true;
    }
    return false;
}

// The tooltip GTK keeps for the program's tray icon, or "(none)" when there is no tray icon. The
// two GTK calls are looked up in the toolkit's GTK, which is loaded but whose headers are not
// installed.
std::string TrayTooltip()
{
    using ListToplevels = GList* (*)();
    using GetTooltipText = gchar* (*)(gpointer);
    const auto gtk_window_list_toplevels =
        reinterpret_cast<ListToplevels>(dlsym(RTLD_DEFAULT, "gtk_window_list_toplevels"));
    const auto gtk_widget_get_tooltip_text =
        reinterpret_cast<GetTooltipText>(dlsym(RTLD_DEFAULT, "gtk_widget_get_tooltip_text"));
    if (!gtk_window_list_toplevels || !gtk_widget_get_tooltip_text)
        return "(no GTK)";
    std::string tooltip = "(none)";
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item; item = item->next)
        if (g_strcmp0(G_OBJECT_TYPE_NAME(item->data), "GtkTrayIcon") == 0)
        {
            gchar* text = gtk_widget_get_tooltip_text(item->data);
            tooltip = text ? text : "";
            g_free(text);
        }
    g_list_free(windows);
    return tooltip;
}

wxBitmapBundle Square()
{
    wxBitmap bitmap(22, 22);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxGREEN_BRUSH);
        dc.Clear();
    }
    return wxBitmapBundle(bitmap);
}

class kxTaskBarIconDesktop : public testing::Test
{
protected:
    void SetUp() override
    {
        m_session = fork();
        ASSERT_GE(m_session, 0);
        if (m_session == 0)
        {
            const std::string dir(m_dir.GetPath().utf8_str());
            // The bus daemon's complaints (it may not raise its file limit) are not the test's.
            freopen((dir + "/session.log").c_str(), "w", stderr);
            execlp("dbus-run-session", "dbus-run-session", "--", "sh", "-c", kDesktop, "sh",
                   dir.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        wxString bus;
        ASSERT_TRUE(kxTestWaitFor(
            [&]
            {
                if (wxFileExists(m_dir.File(wxS("bus"))))
                    bus = kxTestReadFile(m_dir.File(wxS("bus")));
                return !bus.empty();
            },
            10000));
        m_shell = bus.BeforeFirst(' ').Trim();
        setenv("DBUS_SESSION_BUS_ADDRESS", bus.AfterFirst(' ').Trim().utf8_str(), 1);
        ASSERT_TRUE(
            kxTestWaitFor([] { return kxPlatform::IsNotificationServiceAvailable(); }, 10000));
        ASSERT_TRUE(kxTestWaitFor([] { return wxTaskBarIcon::IsAvailable(); }, 10000));
        ASSERT_TRUE(kxTestWaitFor([&] { return !Monitor().empty(); }, 10000));
    }

    void TearDown() override
    {
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        long shell = 0;
        if (m_shell.ToLong(&shell) && shell > 0)
            kill(pid_t(shell), SIGTERM);
        else if (m_session > 0)
            kill(m_session, SIGTERM);
        if (m_session <= 0)
            return;
        // The session ends its bus once the desktop's shell has stopped its programs.
        if (!kxTestWaitFor([&] { return waitpid(m_session, nullptr, WNOHANG) == m_session; },
                           10000))
        {
            kill(m_session, SIGKILL);
            waitpid(m_session, nullptr, 0);
        }
    }

    std::string Monitor() const
    {
        const wxString log = m_dir.File(wxS("monitor.log"));
        return wxFileExists(log) ? std::string(kxTestReadFile(log).utf8_str()) : std::string();
    }

    // The monitor's record of the last Notify call, from its header to the time-out.
    std::string LastNotify() const
    {
        const std::string log = Monitor();
        const size_t at = log.rfind("member=Notify");
        return at == std::string::npos ? std::string() : log.substr(at);
    }

    kxTestTempDir m_dir;
    pid_t m_session = -1;
    wxString m_shell;
};
} // namespace

// The icon docks in the tray host with its tooltip cut to 127 characters, and leaves on removal.
TEST_F(kxTaskBarIconDesktop, DocksWithTooltipAndLeaves)
{
    kxTaskBarIcon icon(nullptr);
    EXPECT_EQ(icon.GetParentWnd(), nullptr);
    EXPECT_EQ(icon.CreatePopupMenu(), nullptr);
    const wxString tooltip(wxS('t'), 200);
    ASSERT_TRUE(icon.SetIcon(Square(), tooltip));
    EXPECT_TRUE(icon.IsIconInstalled());
    EXPECT_TRUE(kxTestWaitFor(IsDocked, 5000));
    EXPECT_EQ(TrayTooltip(), std::string(127, 't'));

    wxIcon classic;
    classic.CopyFromBitmap(Square().GetBitmap(wxSize(22, 22)));
    EXPECT_TRUE(icon.SetIcon(classic, wxS("short")));
    EXPECT_EQ(TrayTooltip(), "short");

    EXPECT_TRUE(icon.RemoveIcon());
    EXPECT_FALSE(icon.IsIconInstalled());
    EXPECT_TRUE(kxTestWaitFor([] { return !IsDocked(); }, 5000));
}

// A balloon reaches the daemon with its title and text, silent, with its time-out and icon; a
// second one takes the place of the first; a balloon without a shown icon is refused.
TEST_F(kxTaskBarIconDesktop, BalloonsReachTheDaemonSilently)
{
    auto* parent = new wxFrame(nullptr, wxID_ANY, wxS("owner"));
    kxTaskBarIcon icon(parent);
    EXPECT_EQ(icon.GetParentWnd(), parent);
    parent->Destroy();
    EXPECT_FALSE(icon.ShowBalloon(wxS("Early"), wxS("no icon yet"), 4000, NIIF_INFO));
    ASSERT_TRUE(icon.SetIcon(Square(), wxS("tip")));

    ASSERT_TRUE(icon.ShowBalloon(wxS("Backup finished"), wxS("3 files <saved> & checked"), 4000,
                                 NIIF_WARNING));
    std::string call = LastNotify();
    EXPECT_NE(call.find("string \"Backup finished\""), std::string::npos) << call;
    EXPECT_NE(call.find("string \"3 files &lt;saved&gt; &amp; checked\""), std::string::npos)
        << call;
    EXPECT_NE(call.find("string \"dialog-warning\""), std::string::npos) << call;
    EXPECT_NE(call.find("uint32 0"), std::string::npos) << call;
    EXPECT_NE(call.find("string \"suppress-sound\"\n         variant             boolean true"),
              std::string::npos)
        << call;
    EXPECT_NE(call.find("int32 4000"), std::string::npos) << call;

    // Cut to 63 and 255 characters; the user flag sends the icon's own image; a time-out of 0
    // is the daemon's default.
    ASSERT_TRUE(icon.ShowBalloon(wxString(wxS('T'), 100), wxString(wxS('x'), 400), 0, NIIF_USER));
    call = LastNotify();
    EXPECT_NE(call.find("string \"" + std::string(63, 'T') + "\""), std::string::npos) << call;
    EXPECT_EQ(call.find(std::string(64, 'T')), std::string::npos) << call;
    EXPECT_NE(call.find("string \"" + std::string(255, 'x') + "\""), std::string::npos) << call;
    EXPECT_EQ(call.find(std::string(256, 'x')), std::string::npos) << call;
    EXPECT_NE(call.find("string \"image-data\""), std::string::npos) << call;
    EXPECT_NE(call.find("int32 -1"), std::string::npos) << call;
    EXPECT_EQ(call.find("uint32 0\n"), std::string::npos) << "does not replace the first" << call;

    EXPECT_TRUE(icon.RemoveIcon());
    EXPECT_NE(Monitor().find("member=CloseNotification"), std::string::npos);
    EXPECT_FALSE(icon.ShowBalloon(wxS("Late"), wxS("icon gone"), 4000, NIIF_INFO));
}

// Without a notification service the icon is that of an old shell: no balloons, and the tooltip
// goes to the toolkit whole. Nothing throws.
TEST(kxTaskBarIconAlone, WithoutServiceBalloonsAreRefused)
{
    kxTestTempDir dir;
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + dir.File(wxS("none"))).utf8_str(), 1);
    {
        kxTaskBarIcon icon(nullptr);
        const wxString tooltip(wxS('t'), 200);
        ASSERT_TRUE(icon.SetIcon(Square(), tooltip));
        EXPECT_EQ(TrayTooltip(), std::string(200, 't'));
        EXPECT_FALSE(icon.ShowBalloon(wxS("Title"), wxS("Text"), 1000, NIIF_INFO));
        EXPECT_TRUE(icon.RemoveIcon());
    }
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
}
