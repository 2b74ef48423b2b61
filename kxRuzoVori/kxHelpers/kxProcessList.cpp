// The library's table of running processes.
#include "kxRuzoVori/kxHelpers/private/kxProcessList.h"

#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/core/private/kxLibraryException.h"
#include "kxRuzoVori/core/private/kxLibraryObject.h"
#include "kxRuzoVori/platform/kxPlatformProcess.h"

#include <wx/filename.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

namespace
{
// Sleep between two looks at a process that is waited for. Callers rely on its length: a wait
// answers only at a look, so whether a process that ends shortly before the time-out counts as
// ended in time depends on it.
const long kWaitStepMs = 500;

kxProcessList* s_table = nullptr;

} // namespace

kxProcessList::kxProcessList() : m_available(kxPlatform::CanListProcesses()) {}

kxProcessList& kxProcessList::Get()
{
    return kxLibraryObject(s_table);
}

bool kxProcessList::IsProcessExists(unsigned long id) const
{
    return kxPlatform::IsProcessRunning(id);
}

bool kxProcessList::WaitProcess(unsigned long id, long timeout) const
{
    wxStopWatch watch;
    while (kxPlatform::IsProcessRunning(id) && watch.Time() < timeout)
        wxMilliSleep(kWaitStepMs);
    return watch.Time() < timeout;
}

void kxProcessList::GetProcessList(kxProcessEntryList& list) const
{
    if (!m_available)
        throw kxLibraryException(kxTranslate(
            wxS("Can not get process list. Process class was not initialized correctly.")));
    std::vector<kxPlatform::ProcessInfo> processes;
    int error = 0;
    if (!kxPlatform::ListProcesses(processes, error))
        throw kxLibraryException(
            wxString::Format(kxTranslate(wxS("Can not get process list. Function "
                                             "CreateToolhelp32Snapshot() failed. GetLastError() "
                                             "value: %d")),
                             error));
    if (processes.empty())
        throw kxLibraryException(kxTranslate(wxS("Can not get process list, becouse it's empty")));
    for (const kxPlatform::ProcessInfo& process : processes)
    {
        kxProcessEntry entry;
        entry.m_path = kxPlatform::FoldPathCase(process.m_path);
        entry.m_id = process.m_pid;
        entry.m_file = process.m_file;
        list.push_back(entry);
    }
}

bool kxProcessList::IsProcessExists(const wxString& path, unsigned long* id) const
{
    if (!m_available)
        throw kxLibraryException(kxTranslate(
            wxS("Can not get process list. Process class was not initialized correctly.")));
    // A process is found by the file it runs, so a relative or linked path finds it and a file
    // rebuilt since the process started does not. A path to no existing file can still name a
    // running program whose file was removed; then the texts are compared.
    const kxPlatform::FileId file = kxPlatform::GetFileId(path);
    wxString absolute;
    if (!file.m_valid && !path.empty())
    {
        wxFileName name(path);
        name.MakeAbsolute();
        absolute = kxPlatform::FoldPathCase(name.GetFullPath());
    }
    if (!file.m_valid && absolute.empty())
        return false;
    kxProcessEntryList list;
    GetProcessList(list);
    for (const kxProcessEntry& entry : list)
    {
        const bool same = file.m_valid ? entry.m_file == file : entry.m_path == absolute;
        if (same)
        {
            if (id)
                *id = entry.m_id;
            return true;
        }
    }
    return false;
}
