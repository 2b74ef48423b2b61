// Tests of kxSettings on damaged files and saves cut short by a kill.
#include "kxRuzoVori/settings/kxSettings.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/dir.h>
#include <wx/log.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
enum
{
    WINDOW = 1,
    RECENT = 2
};

// The groups of a small host: four typed window settings and a list.
void Declare(kxSettings& settings)
{
    kxSettingsGroup window;
    window.AddItem(1, kxSettingsItem(wxS("Width"), 800));
    window.AddItem(2, kxSettingsItem(wxS("Title"), "default"));
    window.AddItem(3, kxSettingsItem(wxS("Maximised"), true));
    window.AddItem(4, kxSettingsItem(wxS("Zoom"), 1.5));
    settings.AddGroup(window, WINDOW, true, wxS("/Window"));
    kxSettingsGroup recent;
    settings.AddGroup(recent, RECENT, false, wxS("/Recent"));
}

struct Window
{
    long m_width = 0;
    wxString m_title;
    bool m_maximised = false;
    double m_zoom = 0;
};

std::string ReadText(const wxString& path)
{
    std::ifstream in(path.utf8_string(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Window Read(kxSettings& settings)
{
    Window window;
    settings.GetValue(WINDOW, 1, window.m_width);
    settings.GetValue(WINDOW, 2, window.m_title);
    settings.GetValue(WINDOW, 3, window.m_maximised);
    settings.GetValue(WINDOW, 4, window.m_zoom);
    return window;
}
} // namespace

TEST(kxSettingsDamage, DamagedFileGivesWhatItCanAndDefaultsForTheRest)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    using namespace std::string_literals;
    const std::string text = "garbage line without anything\n"
                             "\x01\x02\xff\xfe\x00\x80 binary\n"
                             "=no name\n"
                             "[unterminated section\n"
                             "[StaticGroup/Window]\n"
                             "Width\n"
                             "Width=L:1:1024\n"
                             "Width=L:1:2048\n"
                             "Title=S:2:"s +
                             std::string(1 << 20, 'x') +
                             "\n"
                             "Noise=\xc3\x28\xa0\xa1\n"
                             "[DynamicGroup/Recent]\n"
                             "item0=S:0:kept\n"
                             "\x00\x00\x00\n"
                             "item1\n"
                             "[DynamicGroup/Recent]\n"
                             "item2=S:2:\xe2\x82\n"s;
    ASSERT_NE(text.find("[StaticGroup/Window]"), std::string::npos);
    ASSERT_TRUE(kxTestWriteFile(file, text));
    {
        wxLogNull quiet;
        kxSettings settings(file, nullptr);
        Declare(settings);
        EXPECT_TRUE(settings.LoadSettings());
        const Window window = Read(settings);
        EXPECT_TRUE(window.m_width == 1024 || window.m_width == 2048) << window.m_width;
        EXPECT_EQ(window.m_title.length(), size_t(1 << 20)) << "a long line is read whole";
        EXPECT_TRUE(window.m_maximised) << "a missing entry keeps its default";
        EXPECT_DOUBLE_EQ(window.m_zoom, 1.5);
        EXPECT_EQ(settings.FindItemByValue(RECENT, wxS("kept")), 0);
        EXPECT_EQ(settings.FindItemByName(RECENT, wxS("item2")), 2)
            << "a section given twice still counts, and a cut character does not cost the entry";
        EXPECT_TRUE(ReadText(file) == text) << "opening and loading mend in memory only";
        EXPECT_TRUE(settings.Save2File());
    }
    // What the store saved from the damaged file is itself clean and reads back the same.
    wxLogNull quiet;
    kxSettings settings(file, nullptr);
    Declare(settings);
    settings.LoadSettings();
    const Window window = Read(settings);
    EXPECT_TRUE(window.m_width == 1024 || window.m_width == 2048);
    EXPECT_EQ(window.m_title.length(), size_t(1 << 20));
}

TEST(kxSettingsDamage, RepeatedEntriesCannotOverrideASavedValue)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    const std::string text = "; kept as it is\n[Host]\nkey = 1\nkey = 2\n[StaticGroup/Window]\n"
                             "Width=L:1:1\n  Width =L:1:2\n[Host]\nkey=3\n";
    ASSERT_TRUE(kxTestWriteFile(file, text));
    wxLogNull quiet;
    {
        kxSettings settings(file, nullptr);
        Declare(settings);
        settings.LoadSettings();
        EXPECT_EQ(Read(settings).m_width, 2) << "the last of repeated entries counts";
        wxString host;
        settings.Read(wxS("/Host/key"), &host);
        EXPECT_EQ(host, wxS("3"));
        settings.SetValue(WINDOW, 1, 5L);
    }
    for (int reload = 0; reload < 2; ++reload)
    {
        kxSettings settings(file, nullptr);
        Declare(settings);
        settings.LoadSettings();
        EXPECT_EQ(Read(settings).m_width, 5) << "reload " << reload;
        wxString host;
        settings.Read(wxS("/Host/key"), &host);
        EXPECT_EQ(host, wxS("3"));
    }
    EXPECT_EQ(ReadText(file).find("L:1:1"), std::string::npos);
    EXPECT_EQ(ReadText(file).find("key = 1"), std::string::npos);
}

TEST(kxSettingsDamage, OpeningLeavesASoundFileAlone)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    const std::string text = "# written by hand\n[StaticGroup/Window]\n  Width = L:1:640  \n"
                             "Title=S:2:caf\xc3\xa9\n\n[Host]\nnote=\"quoted\"\n";
    ASSERT_TRUE(kxTestWriteFile(file, text));
    kxSettings settings(file, nullptr);
    Declare(settings);
    settings.LoadSettings();
    EXPECT_EQ(ReadText(file), text);
    const Window window = Read(settings);
    EXPECT_EQ(window.m_width, 640);
    EXPECT_EQ(window.m_title, wxString::FromUTF8("caf\xc3\xa9"));
}

TEST(kxSettingsDamage, RandomBytesNeverBreakLoadingOrSaving)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    std::mt19937 random(20261205);
    using namespace std::string_literals;
    const std::string pieces[] = {
        "[",  "]",          "=",      "\n",           ":",    "S:", "L:1:",
        "\\", "\"",         "/",      "StaticGroup/", "#",    ";",  "\r\n",
        " ",  "[Window]\n", "Width=", "DynamicGroup", "\xff", "\0"s};
    wxLogNull quiet;
    for (int round = 0; round < 200; ++round)
    {
        std::string text = "[StaticGroup/Window]\n";
        const int count = random() % 200;
        for (int i = 0; i < count; ++i)
        {
            if (random() % 3 == 0)
                text += static_cast<char>(random() % 256);
            else
                text += pieces[random() % (sizeof pieces / sizeof pieces[0])];
        }
        ASSERT_TRUE(kxTestWriteFile(file, text));
        Window first;
        {
            kxSettings settings(file, nullptr);
            Declare(settings);
            settings.LoadSettings();
            first = Read(settings);
        }
        // The destructor saved: loading that file again gives the same values.
        kxSettings settings(file, nullptr);
        Declare(settings);
        settings.LoadSettings();
        const Window second = Read(settings);
        EXPECT_EQ(first.m_width, second.m_width) << "round " << round;
        EXPECT_EQ(first.m_title, second.m_title) << "round " << round;
        EXPECT_EQ(first.m_maximised, second.m_maximised) << "round " << round;
    }
}

// A child saves two alternating versions of many settings in a loop and is killed at random
// moments; every time, the file must load whole, all of one version.
TEST(kxSettingsDamage, KilledWhileSavingLeavesTheOldOrTheNewFile)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    const int items = 1000;
    auto declare = [&](kxSettings& settings)
    {
        kxSettingsGroup group;
        for (int i = 0; i < items; ++i)
            group.AddItem(i, kxSettingsItem(wxString::Format(wxS("Entry%d"), i), ""));
        settings.AddGroup(group, 1, true, wxS("/Many"));
    };
    auto version = [](int generation, int item)
    {
        return wxString::Format(wxS("generation %d of item %d, padded to make the file long"),
                                generation, item);
    };
    {
        kxSettings settings(file, nullptr);
        declare(settings);
        for (int i = 0; i < items; ++i)
            settings.SetValue(1, i, version(0, i));
    }

    // The child reports every finished save through a pipe, so the kills are timed by the pace
    // of its saves, whatever the speed of the build (sanitizers make it several times slower).
    std::mt19937 random(42);
    int killedMidway = 0;
    for (int round = 0; round < 25; ++round)
    {
        int saves[2];
        ASSERT_EQ(pipe(saves), 0);
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0)
        {
            close(saves[0]);
            kxSettings settings(file, nullptr);
            declare(settings);
            for (int generation = 1;; ++generation)
            {
                for (int i = 0; i < items; ++i)
                    settings.SetValue(1, i, version(generation, i));
                settings.Save2File();
                if (write(saves[1], "s", 1) != 1)
                    _exit(1);
            }
        }
        close(saves[1]);
        char done;
        ASSERT_EQ(read(saves[0], &done, 1), 1) << "the child saves";
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(read(saves[0], &done, 1), 1);
        const long period = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - start)
                                .count();
        usleep(static_cast<useconds_t>(random() % (2 * period + 1)));
        kill(child, SIGKILL);
        close(saves[0]);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        kxSettings settings(file, nullptr);
        declare(settings);
        settings.LoadSettings();
        wxString first;
        settings.GetValue(1, 0, first);
        ASSERT_TRUE(first.StartsWith(wxS("generation "))) << "round " << round;
        const int generation = wxAtoi(first.Mid(11));
        for (int i = 0; i < items; ++i)
        {
            wxString value;
            settings.GetValue(1, i, value);
            ASSERT_EQ(value, version(generation, i)) << "round " << round << ", item " << i;
        }
        if (generation > 0)
            ++killedMidway;
    }
    // Kills that landed while a new file was being written left temporary files; the last save
    // above removed them.
    wxArrayString leftovers;
    wxDir::GetAllFiles(dir.GetPath(), &leftovers);
    EXPECT_EQ(leftovers.size(), 1u);
    EXPECT_GT(killedMidway, 0) << "the child never got to save before it was killed";
}

// Temporary files are named after their writer's process: a save removes those of writers that
// no longer run, and never one that a running writer may still be filling.
TEST(kxSettingsDamage, SaveRemovesTheTemporaryFilesOfDeadWriters)
{
    kxTestTempDir dir;
    const pid_t dead = fork();
    ASSERT_NE(dead, -1);
    if (dead == 0)
        _exit(0);
    ASSERT_EQ(waitpid(dead, nullptr, 0), dead);
    const pid_t live = fork();
    ASSERT_NE(live, -1);
    if (live == 0)
    {
        pause();
        _exit(0);
    }
    auto temporary = [&](pid_t writer, const char* name)
    { return dir.File(wxString::Format(wxS("%s.%d-1.tmp"), name, static_cast<int>(writer))); };
    const wxString left[] = {temporary(dead, "app.ini"), temporary(getpid(), "app.ini")};
    const wxString kept[] = {temporary(live, "app.ini"), temporary(dead, "other.ini"),
                             dir.File(wxS("app.ini.notes.tmp"))};
    for (const wxString& path : left)
        ASSERT_TRUE(kxTestWriteFile(path, "half a file"));
    for (const wxString& path : kept)
        ASSERT_TRUE(kxTestWriteFile(path, "not ours to remove"));
    {
        kxSettings settings(dir.File(wxS("app.ini")), nullptr);
        Declare(settings);
        EXPECT_TRUE(settings.Save2File());
    }
    kill(live, SIGKILL);
    waitpid(live, nullptr, 0);
    for (const wxString& path : left)
        EXPECT_FALSE(wxFileExists(path)) << path;
    for (const wxString& path : kept)
        EXPECT_TRUE(wxFileExists(path)) << path;
}
