// Shared helpers of the test programs: data folders, scratch folders, waiting on the event loop.
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dir.h>
#include <wx/evtloop.h>
#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

wxString kxTestSourceDir()
{
    return wxString::FromUTF8(KX_SOURCE_DIR);
}

wxString kxTestSharedDir()
{
    return wxString::FromUTF8(KX_SHARED_DIR);
}

wxString kxTestBinaryDir()
{
    return wxString::FromUTF8(KX_BINARY_DIR);
}

kxTestTempDir::kxTestTempDir()
{
    std::string pattern = (wxFileName::GetTempDir() + wxS("/kxtest-XXXXXX")).utf8_string();
    if (mkdtemp(pattern.data()))
        m_path = wxString::FromUTF8(pattern);
}

kxTestTempDir::~kxTestTempDir()
{
    if (!m_path.empty())
        wxFileName::Rmdir(m_path, wxPATH_RMDIR_RECURSIVE);
}

wxString kxTestTempDir::File(const wxString& name) const
{
    return m_path + wxFILE_SEP_PATH + name;
}

void kxTestFailOnAssertion(const wxString& file, int line, const wxString& function,
                           const wxString& condition, const wxString& message)
{
    ADD_FAILURE_AT(file.utf8_str(), line)
        << "toolkit assertion " << condition.utf8_string() << " in " << function.utf8_string()
        << ": " << message.utf8_string();
}

wxString kxTestFreePort()
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (probe < 0 || bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    {
        if (probe >= 0)
            close(probe);
        return wxString();
    }
    close(probe);
    return wxString::Format(wxS("%u"), static_cast<unsigned>(ntohs(address.sin_port)));
}

void kxTestPumpEvents(int ms)
{
    kxTestWaitFor([] { return false; }, ms);
}

bool kxTestWaitFor(const std::function<bool()>& done, int ms)
{
    wxStopWatch watch;
    while (!done())
    {
        if (watch.Time() >= ms)
            return done();
        wxEventLoopBase* loop = wxEventLoopBase::GetActive();
        if (loop)
        {
            while (loop->Pending())
                loop->Dispatch();
            loop->ProcessIdle();
            // Tests run inside a handler of the application's own queued call, where idle
            // time does not deliver events queued from other threads: deliver them here.
            if (wxAppConsole* app = wxAppConsole::GetInstance())
                app->ProcessPendingEvents();
        }
        else if (wxAppConsole* app = wxAppConsole::GetInstance())
        {
            // Console programs have no wxApp: wxTheApp would be a wrong downcast there.
            app->ProcessPendingEvents();
        }
        wxMilliSleep(2);
    }
    return true;
}

bool kxTestWriteFile(const wxString& path, const std::string& bytes)
{
    wxFFile file(path, wxS("wb"));
    return file.IsOpened() && file.Write(bytes.data(), bytes.size()) == bytes.size() &&
           file.Close();
}

wxString kxTestReadFile(const wxString& path)
{
    wxString text;
    wxFFile file(path, wxS("r"));
    if (file.IsOpened())
        file.ReadAll(&text);
    return text;
}

bool kxTestWriteCatalog(const wxString& catalogsDir, const wxString& language,
                        const wxString& domain, const std::string& messages)
{
    const wxString folder = catalogsDir + wxS("/") + language + wxS("/LC_MESSAGES");
    if (!wxFileName::Mkdir(folder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL))
        return false;
    const wxString po = folder + wxS("/") + domain + wxS(".po");
    const std::string header = "msgid \"\"\n"
                               "msgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
    if (!kxTestWriteFile(po, header + messages))
        return false;
    const std::string command = "msgfmt -o '" +
                                (folder + wxS("/") + domain + wxS(".mo")).utf8_string() + "' '" +
                                po.utf8_string() + "'";
    return std::system(command.c_str()) == 0;
}

std::string kxTestReadBytes(const wxString& path)
{
    std::string bytes;
    wxFFile file(path, wxS("rb"));
    if (file.IsOpened())
    {
        bytes.resize(static_cast<size_t>(file.Length()));
        bytes.resize(file.Read(&bytes[0], bytes.size()));
    }
    return bytes;
}

std::string kxTestRunCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    pclose(pipe);
    return output;
}
