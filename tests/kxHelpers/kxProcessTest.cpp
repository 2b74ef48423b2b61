// Tests of the process helpers with real child processes.
#include "kxRuzoVori/kxHelpers/kxProcess.h"
#include "kxRuzoVori/kxHelpers/kxShell.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// A private copy of sleep(1), so that only the processes a test starts run that file.
wxString CopySleep(const kxTestTempDir& dir, const wxString& name)
{
    const wxString path = dir.File(name);
    wxCopyFile(wxS("/bin/sleep"), path);
    chmod(path.fn_str(), 0755);
    return path;
}

// Ends a started process however the test goes.
struct Reaper
{
    unsigned long m_pid = 0;
    ~Reaper()
    {
        if (m_pid)
            wxKill(static_cast<long>(m_pid), wxSIGKILL);
        kxWaitProcess(m_pid, 5000);
    }
};
} // namespace

TEST(Process, ExecuteFindAndWait)
{
    kxTestTempDir dir;
    const wxString program = CopySleep(dir, wxS("Sleeper Copy"));
    Reaper started;
    unsigned long error = 0;
    EXPECT_FALSE(kxIsProcessExists(program, nullptr));
    ASSERT_TRUE(kxExecute(program, started.m_pid, wxS("30"), &error));
    EXPECT_NE(0UL, started.m_pid);
    EXPECT_TRUE(kxIsProcessExists(started.m_pid));

    unsigned long found = 0;
    ASSERT_TRUE(kxTestWaitFor([&] { return kxIsProcessExists(program, &found); }, 5000));
    EXPECT_EQ(started.m_pid, found);

    // A running process is not waited for with no time; waiting is bounded by the time-out.
    EXPECT_FALSE(kxWaitProcess(started.m_pid, 0));
    wxStopWatch watch;
    EXPECT_FALSE(kxWaitProcess(started.m_pid, 200));
    EXPECT_GE(watch.Time(), 200);

    // The waiter looks every half second: a process that ends a fifth of a second after the
    // first look is seen ended at the second look only, past a time-out of 0.4 s.
    Reaper brief;
    ASSERT_TRUE(kxExecute(program, brief.m_pid, wxS("0.2"), nullptr));
    EXPECT_FALSE(kxWaitProcess(brief.m_pid, 400));
    EXPECT_FALSE(kxIsProcessExists(brief.m_pid));

    wxKill(static_cast<long>(started.m_pid), wxSIGKILL);
    EXPECT_TRUE(kxWaitProcess(started.m_pid, 5000));
    EXPECT_FALSE(kxIsProcessExists(started.m_pid));
    EXPECT_FALSE(kxIsProcessExists(program, &found));
    EXPECT_FALSE(kxIsProcessExists(0));
    started.m_pid = 0;
}

TEST(Process, FoundByTheFileItselfNotByItsName)
{
    kxTestTempDir dir;
    const wxString program = CopySleep(dir, wxS("server"));
    ASSERT_EQ(0, symlink(program.fn_str(), dir.File(wxS("alias")).fn_str()));
    Reaper started;
    ASSERT_TRUE(kxExecute(dir.File(wxS("alias")), started.m_pid, wxS("30"), nullptr));

    unsigned long found = 0;
    ASSERT_TRUE(kxTestWaitFor([&] { return kxIsProcessExists(program, &found); }, 5000));
    EXPECT_EQ(started.m_pid, found);
    EXPECT_TRUE(kxIsProcessExists(dir.File(wxS("alias")), nullptr));

    const wxString cwd = wxGetCwd();
    ASSERT_TRUE(wxSetWorkingDirectory(dir.GetPath()));
    EXPECT_TRUE(kxIsProcessExists(wxS("server"), nullptr));
    EXPECT_TRUE(kxIsProcessExists(wxS("./alias"), nullptr));
    EXPECT_FALSE(kxIsProcessExists(wxS("SERVER"), nullptr));
    // A bare name starts the file in the current folder, the one it finds, not one on PATH.
    wxKill(static_cast<long>(started.m_pid), wxSIGKILL);
    ASSERT_TRUE(kxWaitProcess(started.m_pid, 5000));
    started.m_pid = 0;
    Reaper bare;
    unsigned long error = 0;
    ASSERT_TRUE(kxExecute(wxS("server"), bare.m_pid, wxS("30"), &error)) << error;
    EXPECT_TRUE(kxTestWaitFor(
        [&] { return kxIsProcessExists(wxS("server"), &found) && found == bare.m_pid; }, 5000));
    wxSetWorkingDirectory(cwd);
    // Elsewhere the bare name leads to no file.
    EXPECT_FALSE(kxIsProcessExists(wxS("server"), nullptr));

    // Another copy of the same program is another file; so is the program rebuilt in place.
    const wxString other = CopySleep(dir, wxS("other"));
    EXPECT_FALSE(kxIsProcessExists(other, nullptr));
    ASSERT_TRUE(wxRenameFile(other, program));
    EXPECT_FALSE(kxIsProcessExists(program, nullptr));
}

TEST(Process, ExecuteFailures)
{
    kxTestTempDir dir;
    const wxString locked = dir.File(wxS("locked"));
    ASSERT_TRUE(kxTestWriteFile(locked, "\x7f"
                                        "ELF garbage"));
    ASSERT_EQ(0, chmod(locked.fn_str(), 0755));

    unsigned long id = 55;
    unsigned long error = 0;
    EXPECT_FALSE(kxExecute(locked, id, wxString(), &error));
    EXPECT_NE(0UL, error);
    EXPECT_EQ(55UL, id);
    EXPECT_FALSE(kxExecute(locked, id, wxString(), nullptr));
    EXPECT_EQ(0UL, id);
}

TEST(Process, DocumentsOpenWithTheirProgram)
{
    kxTestTempDir dir;
    const wxString seen = dir.File(wxS("opened"));
    const wxString opener = dir.File(wxS("xdg-open"));
    ASSERT_TRUE(kxTestWriteFile(opener, std::string("#!/bin/sh\nprintf '%s' \"$1\" > '") +
                                            seen.utf8_string() + "'\n"));
    ASSERT_EQ(0, chmod(opener.fn_str(), 0755));
    const wxString document = dir.File(wxS("Report Ü.txt"));
    ASSERT_TRUE(kxTestWriteFile(document, "text"));

    const std::string saved = getenv("PATH");
    setenv("PATH", (dir.GetPath() + wxS(":") + wxString::FromUTF8(saved)).fn_str(), 1);
    unsigned long id = 9;
    unsigned long error = 7;
    const bool opened = kxExecute(document, id, wxS("-x"), &error);
    setenv("PATH", saved.c_str(), 1);
    EXPECT_TRUE(opened);
    EXPECT_EQ(document, kxTestReadFile(seen));
    EXPECT_EQ(9UL, id);
    EXPECT_EQ(7UL, error);
}

TEST(Process, ParametersSplitAsAShellWould)
{
    kxTestTempDir dir;
    const wxString script = dir.File(wxS("Echo \"Args\""));
    const wxString out = dir.File(wxS("out"));
    ASSERT_TRUE(kxTestWriteFile(script, std::string("#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; "
                                                    "done > '") +
                                            out.utf8_string() + "'\n"));
    ASSERT_EQ(0, chmod(script.fn_str(), 0755));
    unsigned long id = 0;
    ASSERT_TRUE(kxExecute(script, id, wxS("-x \"a b\" c\\ d"), nullptr));
    EXPECT_TRUE(kxWaitProcess(id, 5000));
    EXPECT_EQ(wxString(wxS("[-x]\n[a b]\n[c d]\n")), kxTestReadFile(out));
}

TEST(Process, AnotherInstance)
{
    if (getenv("KX_TEST_INSTANCE_OUT"))
    {
        // The second instance, started by the test below.
        wxFFile out(wxString::FromUTF8(getenv("KX_TEST_INSTANCE_OUT")), wxS("w"));
        out.Write(kxIsAnotherInstanceRunning() ? wxS("another") : wxS("alone"));
        return;
    }
    EXPECT_FALSE(kxIsAnotherInstanceRunning());
    EXPECT_FALSE(kxIsAnotherInstanceRunning());

    kxTestTempDir dir;
    const wxString out = dir.File(wxS("instance"));
    setenv("KX_TEST_INSTANCE_OUT", out.fn_str(), 1);
    unsigned long id = 0;
    const bool started = kxExecute(kxGetAppDir() + wxS("kxProcessTests"), id,
                                   wxS("--gtest_filter=Process.AnotherInstance"), nullptr);
    unsetenv("KX_TEST_INSTANCE_OUT");
    ASSERT_TRUE(started);
    EXPECT_TRUE(kxWaitProcess(id, 20000));
    EXPECT_EQ(wxString(wxS("another")), kxTestReadFile(out));
}

TEST(Shell, AppDirAndDirectories)
{
    const wxString appDir = kxGetAppDir();
    EXPECT_TRUE(appDir.EndsWith(wxS("/")));
    EXPECT_TRUE(wxFileExists(appDir + wxS("kxProcessTests")));
    EXPECT_EQ(appDir, kxGetAppDir());

    kxTestTempDir dir;
    EXPECT_TRUE(kxCreateDir(dir.GetPath()));
    const wxString fresh = dir.File(wxS("fresh ü"));
    EXPECT_TRUE(kxCreateDir(fresh));
    EXPECT_TRUE(wxDirExists(fresh));
    EXPECT_FALSE(kxCreateDir(dir.File(wxS("missing/child"))));
    EXPECT_FALSE(wxDirExists(dir.File(wxS("missing"))));

    EXPECT_TRUE(kxIsDiskInDevice(wxS("/")));
    EXPECT_TRUE(kxIsDiskInDevice(dir.GetPath()));
    EXPECT_FALSE(kxIsDiskInDevice(wxS("/no/such/drive")));
}

TEST(Shell, SoundWithoutAFileOrDevice)
{
    kxTestTempDir dir;
    EXPECT_FALSE(kxPlaySound(dir.File(wxS("missing.wav")), false));
    ASSERT_TRUE(kxTestWriteFile(dir.File(wxS("noise.wav")), "RIFF garbage, not a wave"));
    EXPECT_FALSE(kxPlaySound(dir.File(wxS("noise.wav")), true));

    // A well-formed wave: played where there is a sound device, refused without one; never a
    // crash either way.
    std::string wave = "RIFF";
    auto put32 = [&wave](unsigned v)
    {
        for (int i = 0; i < 4; ++i)
            wave += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto put16 = [&wave](unsigned v)
    {
        wave += static_cast<char>(v & 0xFF);
        wave += static_cast<char>((v >> 8) & 0xFF);
    };
    put32(36 + 800);
    wave += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(8000);
    put32(8000);
    put16(1);
    put16(8);
    wave += "data";
    put32(800);
    wave += std::string(800, '\x80');
    ASSERT_TRUE(kxTestWriteFile(dir.File(wxS("tone.wav")), wave));
    kxPlaySound(dir.File(wxS("tone.wav")), false);
    kxPlaySound(dir.File(wxS("tone.wav")), true);
}
