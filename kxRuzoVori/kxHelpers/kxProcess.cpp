// The process helpers hosts call, over the process table and the platform layer.
#include "kxRuzoVori/kxHelpers/kxProcess.h"

#include "kxRuzoVori/core/private/kxLibraryObject.h"
#include "kxRuzoVori/kxHelpers/kxEncoding.h"
#include "kxRuzoVori/kxHelpers/private/kxProcessList.h"
#include "kxRuzoVori/platform/kxPlatformFile.h"
#include "kxRuzoVori/platform/kxPlatformProcess.h"

#include <wx/app.h>
#include <wx/snglinst.h>
#include <wx/utils.h>

namespace
{
wxSingleInstanceChecker* s_instanceChecker = nullptr;

// Quotes text for the command line so that splitting it gives text back as one argument.
wxString QuoteArgument(const wxString& text)
{
    wxString quoted = text;
    quoted.Replace(wxS("\\"), wxS("\\\\"));
    quoted.Replace(wxS("\""), wxS("\\\""));
    return wxS("\"") + quoted + wxS("\"");
}
} // namespace

bool kxIsProcessExists(unsigned long id)
{
    return kxProcessList::Get().IsProcessExists(id);
}

bool kxIsProcessExists(const wxString& path, unsigned long* id)
{
    return kxProcessList::Get().IsProcessExists(path, id);
}

bool kxWaitProcess(unsigned long id, long timeout)
{
    return kxProcessList::Get().WaitProcess(id, timeout);
}

bool kxExecute(wxString file, unsigned long& id, wxString parameters, unsigned long* error)
{
    file = kxPlatform::FoldPathCase(file);
    if (!kxPlatform::IsProgramFile(file))
        return kxPlatform::OpenDocument(file);

    unsigned long started = 0;
    int code = 0;
    const bool ok =
        kxPlatform::StartProcess(QuoteArgument(file) + wxS(" ") + parameters, started, code);
    // Callers that do not want the id pass the library's placeholder, which stays 0.
    const bool wantsId = &id != &g_kxEmptyULong;
    if (ok && wantsId)
        id = started;
    else if (!ok && error)
        *error = static_cast<unsigned long>(code);
    else if (!ok && wantsId)
        id = 0;
    return ok;
}

bool kxIsAnotherInstanceRunning()
{
    wxSingleInstanceChecker& checker =
        kxLibraryObject(s_instanceChecker,
                        []
                        {
                            // The host may be a console program: wxTheApp would be a wrong downcast
                            // there.
                            const wxAppConsole* app = wxAppConsole::GetInstance();
                            const wxString appName = app ? app->GetAppName() : wxString();
                            return new wxSingleInstanceChecker(appName + wxGetUserId(), wxString());
                        });
    return checker.IsAnotherRunning();
}
