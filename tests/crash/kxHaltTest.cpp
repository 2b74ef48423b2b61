// The crash handler end to end: a host program (kxCrashChild) faults under the test's X server,
// the test answers its "Crash report" window from outside with xdotool as a user would, and a
// real SMTP server receives the report.
#include "support/kxTestSmtpServer.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/image.h>

#include <X11/Xlib.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{
// One run of the crashing host program.
class CrashChild
{
public:
    CrashChild(const std::string& mode, int port)
    {
        const std::string output = m_dir.File(wxS("output")).utf8_string();
        const std::string errors = m_dir.File(wxS("errors")).utf8_string();
        std::string program = KX_CRASH_CHILD;
        std::string modeWord = mode;
        std::string portWord = std::to_string(port);
        char* argv[] = {&program[0], &modeWord[0], &portWord[0], nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT, 0644);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }

    ~CrashChild()
    {
        if (m_pid > 0 && !m_ended)
        {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    // Waits up to ms for the program to end.
    bool Wait(int ms)
    {
        const bool ended = kxTestWaitFor(
            [&]
            {
                m_ended = m_ended || (m_pid > 0 && waitpid(m_pid, &m_status, WNOHANG) == m_pid);
                return m_ended;
            },
            ms);
        if (!ended)
            ADD_FAILURE() << "still running; its errors: " << Errors();
        return ended;
    }

    int Signal() const { return m_ended && WIFSIGNALED(m_status) ? WTERMSIG(m_status) : 0; }
    int ExitCode() const { return m_ended && WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1; }
    std::string Output() const { return kxTestReadBytes(m_dir.File(wxS("output"))); }
    std::string Errors() const { return kxTestReadBytes(m_dir.File(wxS("errors"))); }

private:
    kxTestTempDir m_dir;
    pid_t m_pid = -1;
    int m_status = 0;
    bool m_ended = false;
};

// The X window of the crash dialog, once it is on the screen and has given the e-mail field the
// focus; empty after ms without one.
std::string FindDialog(int ms)
{
    std::string window;
    kxTestWaitFor(
        [&]
        {
            window = kxTestRunCommand(
                "xdotool search --onlyvisible --name '^Crash report$' 2>/dev/null");
            window = window.substr(0, window.find('\n'));
            return !window.empty();
        },
        ms);
    // The toolkit sets the focus once the window is mapped.
    kxTestPumpEvents(500);
    return window;
}

// Keys for the dialog's focused control, from outside the program.
void Keys(const std::string& window, const std::string& xdotoolArguments)
{
    kxTestRunCommand("xdotool windowfocus --sync " + window + " " + xdotoolArguments);
}

// The share of a window's pixels, as the X server shows them, that are darker than mid-grey: its
// texts and frames on a light background.
double DarkShare(const std::string& window, const kxTestTempDir& dir)
{
    const wxString picture = dir.File(wxS("window.ppm"));
    kxTestRunCommand("xwd -silent -id " + window + " | xwdtopnm > '" + picture.utf8_string() +
                     "' 2>/dev/null");
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNM))
        wxImage::AddHandler(new wxPNMHandler);
    wxImage image;
    if (!image.LoadFile(picture, wxBITMAP_TYPE_PNM) || !image.IsOk())
        return 0;
    size_t dark = 0;
    const unsigned char* rgb = image.GetData();
    const size_t pixels = static_cast<size_t>(image.GetWidth()) * image.GetHeight();
    for (size_t i = 0; i < pixels; ++i)
        dark += rgb[3 * i] + rgb[3 * i + 1] + rgb[3 * i + 2] < 384;
    return static_cast<double>(dark) / pixels;
}

// What a window manager sends when the user closes a window.
void AskToClose(const std::string& window)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::stoul(window);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(display);
}

// The function addr2line finds at offset in the crash program.
std::string FunctionAt(const std::string& offset)
{
    const std::string lines =
        kxTestRunCommand("addr2line -f -C -e " + std::string(KX_CRASH_CHILD) + " " + offset);
    return lines.substr(0, lines.find('\n'));
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class kxHaltTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_server.IsOk()); }

    // The body of the one report the server received, as lines.
    std::vector<std::string> ReportLines()
    {
        kxTestStoredMail mail;
        if (!m_server.WaitForMail(0, mail, 10000))
            return {};
        EXPECT_EQ(mail.m_from, "crash@example.org");
        EXPECT_EQ(mail.m_to, std::vector<std::string>{"developer@example.org"});
        EXPECT_NE(mail.m_data.find("\r\nSubject: ZPR Crash report\r\n"), std::string::npos);
        return Lines(mail.m_data.substr(mail.m_data.find("\r\n\r\n") + 4));
    }

    kxTestSmtpServer m_server;
    kxTestTempDir m_dir;
};
} // namespace

TEST_F(kxHaltTest, FaultOnTheMainThreadIsReportedWithItsStack)
{
    CrashChild child("main", m_server.Port());
    const std::string window = FindDialog(20000);
    ASSERT_FALSE(window.empty()) << child.Errors();
    // The dialog drawn from inside the faulting program shows its texts on a painted background.
    const double dark = DarkShare(window, m_dir);
    EXPECT_GT(dark, 0.01);
    EXPECT_LT(dark, 0.2);
    // The e-mail field has the focus; the note comes after the two buttons.
    Keys(window, "type --delay 5 'user@example.org'");
    Keys(window, "key Tab Tab Tab");
    Keys(window, "type --delay 5 'it crashed'");
    Keys(window, "key shift+Tab shift+Tab space");
    ASSERT_TRUE(child.Wait(30000));
    EXPECT_EQ(child.Signal(), SIGSEGV);

    const std::vector<std::string> lines = ReportLines();
    ASSERT_GE(lines.size(), 9u);
    ASSERT_EQ(lines[0].compare(0, 19, "Exception offset: 0"), 0) << lines[0];
    EXPECT_EQ(lines[1], "Exception code: 0xC0000005");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "User e-mail: user@example.org");
    EXPECT_EQ(lines[4], "User note:it crashed");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "Call stack:");
    // The first frame is the faulting instruction, at the offset the report's first line gives.
    const std::string offset = lines[0].substr(lines[0].find("0x"));
    const std::string first = "#0 kxCrashChild+0x";
    ASSERT_EQ(lines[7].compare(0, first.size(), first), 0) << lines[7];
    EXPECT_EQ(std::stoul(lines[7].substr(first.size() - 2), nullptr, 16),
              std::stoul(offset, nullptr, 16));
    EXPECT_NE(lines[7].find("(WriteThroughNullPointer+0x"), std::string::npos) << lines[7];
    EXPECT_EQ(FunctionAt(offset), "WriteThroughNullPointer");
    const std::string caller = lines[8].substr(lines[8].find("+0x") + 1);
    EXPECT_EQ(FunctionAt(caller.substr(0, caller.find(' '))), "FaultOnMainThread") << lines[8];
}

TEST_F(kxHaltTest, WorkerThreadFaultIsAnsweredOnTheMainThread)
{
    // Escape sends nothing; the process still ends by its signal.
    CrashChild child("worker", m_server.Port());
    const std::string window = FindDialog(20000);
    ASSERT_FALSE(window.empty()) << child.Errors();
    Keys(window, "key Escape");
    ASSERT_TRUE(child.Wait(30000));
    EXPECT_EQ(child.Signal(), SIGSEGV);

    // So does closing the window.
    CrashChild closed("main", m_server.Port());
    const std::string closing = FindDialog(20000);
    ASSERT_FALSE(closing.empty()) << closed.Errors();
    AskToClose(closing);
    ASSERT_TRUE(closed.Wait(30000));
    EXPECT_EQ(closed.Signal(), SIGSEGV);
    EXPECT_EQ(m_server.MailCount(), 0u);
}

TEST_F(kxHaltTest, WorkerFaultWhileTheMainThreadIsStuckEndsByTheWatchdog)
{
    CrashChild child("blocked", m_server.Port());
    ASSERT_TRUE(child.Wait(30000));
    EXPECT_EQ(child.Signal(), SIGSEGV);
}

TEST_F(kxHaltTest, ShowHaltDlgSendsAReportAndReturns)
{
    CrashChild child("show", m_server.Port());
    const std::string window = FindDialog(20000);
    ASSERT_FALSE(window.empty()) << child.Errors();
    Keys(window, "key Tab space");
    ASSERT_TRUE(child.Wait(30000));
    EXPECT_EQ(child.ExitCode(), 0) << child.Errors();
    EXPECT_EQ(child.Output(), "returned\n");
    const std::vector<std::string> lines = ReportLines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
              (std::vector<std::string>{"Exception offset: 0x0", "Exception code: 0x0", "",
                                        "User e-mail: ", "User note:"}));
}

TEST_F(kxHaltTest, EachKindOfFaultHasItsCodeAndEndsByItsSignal)
{
    const struct
    {
        const char* m_mode;
        const char* m_code;
        int m_signal;
    } faults[] = {
        {"null", "code 0xC0000005", SIGSEGV},
        {"divide", "code 0xC0000094", SIGFPE},
        {"abort", "code 0x40000015", SIGABRT},
        {"overflow", "code 0xC00000FD", SIGSEGV},
        // A second fault in the report ends the process at once, by the first fault's signal.
        {"again", "code 0xC0000094", SIGFPE},
        // SetHandler takes the signals back from a handler the host installed since.
        {"retake", "code 0xC0000005", SIGSEGV},
    };
    for (const auto& fault : faults)
    {
        SCOPED_TRACE(fault.m_mode);
        CrashChild child(fault.m_mode, m_server.Port());
        ASSERT_TRUE(child.Wait(30000));
        EXPECT_EQ(child.Signal(), fault.m_signal) << child.Errors();
        EXPECT_NE(child.Output().find(fault.m_code), std::string::npos) << child.Output();
    }

    // A report that passes the fault on hands it to the handler installed before.
    CrashChild passOn("passon", m_server.Port());
    ASSERT_TRUE(passOn.Wait(30000));
    EXPECT_EQ(passOn.ExitCode(), 42);
    EXPECT_NE(passOn.Output().find("previous handler"), std::string::npos) << passOn.Output();
}

TEST_F(kxHaltTest, OnlyOneCrashHandlerPerProcessEver)
{
    CrashChild child("twice", m_server.Port());
    ASSERT_TRUE(child.Wait(30000));
    const std::string refusal =
        "You can not create kxHalt class more then one time | kxRuzoVori exception\n";
    EXPECT_EQ(child.Output(), refusal + refusal);
}
