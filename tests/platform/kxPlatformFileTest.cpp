// Tests of the platform layer's file identity, program files and volumes.
#include "kxRuzoVori/platform/kxPlatformFile.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/filefn.h>
#include <wx/filename.h>

#include <unistd.h>

using namespace kxPlatform;

TEST(PlatformFile, IdentityFollowsLinksAndRelativePaths)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("data"));
    ASSERT_TRUE(kxTestWriteFile(file, "x"));
    ASSERT_EQ(0, symlink(file.fn_str(), dir.File(wxS("link")).fn_str()));

    const FileId id = GetFileId(file);
    EXPECT_TRUE(id.m_valid);
    EXPECT_EQ(id, GetFileId(dir.File(wxS("link"))));
    EXPECT_EQ(id, GetFileId(dir.GetPath() + wxS("/./../") +
                            wxFileName(dir.GetPath()).GetFullName() + wxS("/data")));

    const wxString cwd = wxGetCwd();
    ASSERT_TRUE(wxSetWorkingDirectory(dir.GetPath()));
    EXPECT_EQ(id, GetFileId(wxS("data")));
    EXPECT_EQ(GetCanonicalPath(file), GetCanonicalPath(wxS("link")));
    wxSetWorkingDirectory(cwd);

    // A file written anew under the same name is another file.
    ASSERT_TRUE(kxTestWriteFile(dir.File(wxS("data.new")), "y"));
    ASSERT_TRUE(wxRenameFile(dir.File(wxS("data.new")), file));
    EXPECT_NE(id, GetFileId(file));

    EXPECT_FALSE(GetFileId(dir.File(wxS("missing"))).m_valid);
    EXPECT_FALSE(GetFileId(wxString()).m_valid);
    EXPECT_NE(GetFileId(dir.File(wxS("missing"))), GetFileId(dir.File(wxS("missing"))));
    EXPECT_TRUE(GetCanonicalPath(dir.File(wxS("missing"))).empty());
}

TEST(PlatformFile, ProgramFilesAreExecutableRegularFiles)
{
    kxTestTempDir dir;
    const wxString text = dir.File(wxS("notes.txt"));
    ASSERT_TRUE(kxTestWriteFile(text, "hello"));
    EXPECT_FALSE(IsProgramFile(text));
    ASSERT_EQ(0, chmod(text.fn_str(), 0755));
    EXPECT_TRUE(IsProgramFile(text));
    EXPECT_TRUE(IsProgramFile(wxS("/bin/sh")));
    EXPECT_FALSE(IsProgramFile(dir.GetPath()));
    EXPECT_FALSE(IsProgramFile(dir.File(wxS("missing"))));
    // Names are not folded: another case is another file.
    EXPECT_FALSE(IsProgramFile(dir.File(wxS("NOTES.TXT"))));
    EXPECT_EQ(wxString(wxS("/Tmp/MiXeD")), FoldPathCase(wxS("/Tmp/MiXeD")));
}

TEST(PlatformFile, VolumesAndTheRunningProgram)
{
    EXPECT_TRUE(IsVolumeReadable(wxS("/")));
    EXPECT_TRUE(IsVolumeReadable(wxFileName::GetTempDir()));
    EXPECT_FALSE(IsVolumeReadable(wxS("/no/such/volume")));
    EXPECT_FALSE(IsVolumeReadable(wxString()));

    const wxString exe = GetExecutablePath();
    EXPECT_TRUE(exe.StartsWith(wxS("/")));
    EXPECT_TRUE(exe.EndsWith(wxS("/kxPlatformTests")));
    EXPECT_TRUE(IsProgramFile(exe));
}
