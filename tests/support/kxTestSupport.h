// Shared helpers of the test programs: where the data lives, scratch folders, and waiting for
// the toolkit's event loop to do its work.
#ifndef KXTESTS_KXTESTSUPPORT_H
#define KXTESTS_KXTESTSUPPORT_H

#include <wx/string.h>

#include <functional>
#include <string>

// The repository, the shared data folder beside it, and the build folder.
wxString kxTestSourceDir();
wxString kxTestSharedDir();
wxString kxTestBinaryDir();

// A fresh scratch folder, removed with everything in it when the object dies.
class kxTestTempDir
{
public:
    kxTestTempDir();
    ~kxTestTempDir();
    kxTestTempDir(const kxTestTempDir&) = delete;
    kxTestTempDir& operator=(const kxTestTempDir&) = delete;

    const wxString& GetPath() const { return m_path; }
    // The path of name inside the folder.
    wxString File(const wxString& name) const;

private:
    wxString m_path;
};

// The assertion handler of every test program: a toolkit assertion fails the running test,
// which goes on.
void kxTestFailOnAssertion(const wxString& file, int line, const wxString& function,
                           const wxString& condition, const wxString& message);

// A port on 127.0.0.1 nothing listens on right now.
wxString kxTestFreePort();

// Lets the running event loop dispatch for about ms milliseconds.
void kxTestPumpEvents(int ms);
// Dispatches events until done() holds or ms milliseconds have passed; returns done().
bool kxTestWaitFor(const std::function<bool()>& done, int ms);

// Writes bytes to path as they are; returns false when it cannot.
bool kxTestWriteFile(const wxString& path, const std::string& bytes);
// The whole text of the file at path, read as UTF-8; empty when it cannot be read.
wxString kxTestReadFile(const wxString& path);
// The bytes of the file at path as they are; empty when it cannot be read.
std::string kxTestReadBytes(const wxString& path);

// Runs a shell command and returns what it wrote to its standard output.
std::string kxTestRunCommand(const std::string& command);

// Compiles a UTF-8 catalog of the pairs in messages (msgid "..." msgstr "..." entries, without
// a header) with msgfmt into <catalogsDir>/<language>/LC_MESSAGES/<domain>.mo, where the
// toolkit's loader finds it; returns false when that fails.
bool kxTestWriteCatalog(const wxString& catalogsDir, const wxString& language,
                        const wxString& domain, const std::string& messages);

#endif
