// Tests of the platform layer's process list, process control and program start.
#include "kxRuzoVori/platform/kxPlatformProcess.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/utils.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kxPlatform;

namespace
{
bool WaitEnded(unsigned long pid)
{
    return kxTestWaitFor([pid] { return !IsProcessRunning(pid); }, 10000);
}

// Puts dir first on PATH for the life of the object.
class ScopedPath
{
public:
    explicit ScopedPath(const wxString& dir) : m_saved(getenv("PATH") ? getenv("PATH") : "")
    {
        setenv("PATH", (dir + wxS(":") + wxString::FromUTF8(m_saved)).fn_str(), 1);
    }
    ~ScopedPath() { setenv("PATH", m_saved.c_str(), 1); }

private:
    std::string m_saved;
};
} // namespace

TEST(PlatformProcess, ListsThisProcessWithItsProgramFile)
{
    ASSERT_TRUE(CanListProcesses());
    std::vector<ProcessInfo> list;
    int error = -1;
    ASSERT_TRUE(ListProcesses(list, error));
    const unsigned long self = GetCurrentProcessId();
    const auto found = std::find_if(list.begin(), list.end(),
                                    [self](const ProcessInfo& info) { return info.m_pid == self; });
    ASSERT_NE(list.end(), found);
    EXPECT_EQ(GetExecutablePath(), found->m_path);
    EXPECT_EQ(GetFileId(GetExecutablePath()), found->m_file);
}

TEST(PlatformProcess, RunningEndedAndKilledProcesses)
{
    EXPECT_TRUE(IsProcessRunning(GetCurrentProcessId()));
    EXPECT_FALSE(IsProcessRunning(0));
    EXPECT_FALSE(IsProcessRunning(0xFFFFFFFFFFUL));
    EXPECT_FALSE(KillProcess(0));

    unsigned long pid = 0;
    int error = 0;
    ASSERT_TRUE(StartProcess(wxS("/bin/sleep 30"), pid, error));
    EXPECT_TRUE(IsProcessRunning(pid));
    EXPECT_TRUE(KillProcess(pid));
    EXPECT_FALSE(IsProcessRunning(pid));
    // Killing reaped the child: nothing of it is left in the process table.
    EXPECT_FALSE(wxDirExists(wxString::Format(wxS("/proc/%lu"), pid)));

    // A child that ends by itself is reaped the next time anyone asks.
    ASSERT_TRUE(StartProcess(wxS("/bin/true"), pid, error));
    ASSERT_TRUE(WaitEnded(pid));
    EXPECT_FALSE(wxDirExists(wxString::Format(wxS("/proc/%lu"), pid)));
}

TEST(PlatformProcess, UnreapedChildCountsAsEnded)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(0);
    // Not started by the layer, so it is not reaped by it: it stays a zombie until we wait.
    ASSERT_TRUE(kxTestWaitFor(
        [child]
        {
            // /proc files report no length, so they are read piecewise.
            FILE* stat = fopen(wxString::Format(wxS("/proc/%d/stat"), child).fn_str(), "r");
            char text[256] = {};
            if (!stat)
                return false;
            const size_t length = fread(text, 1, sizeof text - 1, stat);
            fclose(stat);
            return length > 0 && strstr(text, ") Z ") != nullptr;
        },
        5000));
    EXPECT_FALSE(IsProcessRunning(static_cast<unsigned long>(child)));
    EXPECT_EQ(child, waitpid(child, nullptr, 0));
}

TEST(PlatformProcess, CommandLinesSplitAsAShellWould)
{
    kxTestTempDir dir;
    const wxString out = dir.File(wxS("args"));
    const wxString line = wxS("/bin/sh -c 'for a in \"$@\"; do echo \"[$a]\"; done > \"$0\"' \"") +
                          out + wxS("\" \"two words\" 'it\"s' back\\ slash \"\" \"q\\\"uote\" ü😀");
    unsigned long pid = 0;
    int error = 0;
    ASSERT_TRUE(StartProcess(line, pid, error)) << error;
    ASSERT_TRUE(WaitEnded(pid));
    EXPECT_EQ(wxString::FromUTF8("[two words]\n[it\"s]\n[back slash]\n[]\n[q\"uote]\n[ü😀]\n"),
              kxTestReadFile(out));
}

TEST(PlatformProcess, StartFailuresCarryTheSystemError)
{
    unsigned long pid = 77;
    int error = 0;
    EXPECT_FALSE(StartProcess(wxS("/no/such/program -x"), pid, error));
    EXPECT_EQ(ENOENT, error);
    EXPECT_EQ(77UL, pid);
    error = 0;
    EXPECT_FALSE(StartProcess(wxS("   "), pid, error));
    EXPECT_NE(0, error);

    kxTestTempDir dir;
    ASSERT_TRUE(kxTestWriteFile(dir.File(wxS("locked")), "#!/bin/sh\n"));
    error = 0;
    EXPECT_FALSE(StartProcess(dir.File(wxS("locked")), pid, error));
    EXPECT_EQ(EACCES, error);
}

TEST(PlatformProcess, ChildrenInheritNoDescriptors)
{
    kxTestTempDir dir;
    const int held = open(dir.File(wxS("held")).fn_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(held, 3);
    const wxString out = dir.File(wxS("seen"));
    unsigned long pid = 0;
    int error = 0;
    ASSERT_TRUE(
        StartProcess(wxString::Format(wxS("/bin/sh -c 'if [ -e /proc/$$/fd/%d ]; then "
                                          "echo open; else echo closed; fi > \"$0\"' \"%s\""),
                                      held, out),
                     pid, error));
    ASSERT_TRUE(WaitEnded(pid));
    close(held);
    EXPECT_EQ(wxString(wxS("closed\n")), kxTestReadFile(out));
}

TEST(PlatformProcess, DocumentsGoToTheDesktopOpener)
{
    kxTestTempDir dir;
    const wxString seen = dir.File(wxS("opened"));
    const wxString opener = dir.File(wxS("xdg-open"));
    ASSERT_TRUE(kxTestWriteFile(opener, std::string("#!/bin/sh\nprintf '%s' \"$1\" > '") +
                                            seen.utf8_string() + "'\n[ \"$1\" != fail ]\n"));
    ASSERT_EQ(0, chmod(opener.fn_str(), 0755));
    {
        ScopedPath path(dir.GetPath());
        EXPECT_TRUE(OpenDocument(wxS("https://example.invalid/a b?c=ü")));
        EXPECT_EQ(wxString(wxS("https://example.invalid/a b?c=ü")), kxTestReadFile(seen));
        EXPECT_FALSE(OpenDocument(wxS("fail")));
        EXPECT_FALSE(OpenDocument(wxString()));
    }
    kxTestTempDir empty;
    std::string saved = getenv("PATH");
    setenv("PATH", empty.GetPath().fn_str(), 1);
    EXPECT_FALSE(OpenDocument(wxS("/etc/hostname")));
    setenv("PATH", saved.c_str(), 1);
}
