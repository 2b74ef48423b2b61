// The operating system's processes, as the library needs them: listing them with the files they
// run, testing, waiting for and ending one, and starting programs and documents. Nothing outside
// the platform folder talks to the system about processes; each system has its own source file.
// The functions are exported for the library's own tests; hosts use the helpers of kxHelpers.
#ifndef KXRUZOVORI_PLATFORM_KXPLATFORMPROCESS_H
#define KXRUZOVORI_PLATFORM_KXPLATFORMPROCESS_H

#include "kxRuzoVori/kxExport.h"
#include "kxRuzoVori/platform/kxPlatformFile.h"

#include <wx/string.h>

#include <vector>

namespace kxPlatform
{
// One running process: its id, the path of the file it runs as the system reports it, and the
// identity of that file (invalid when the system would not tell).
struct ProcessInfo
{
    unsigned long m_pid = 0;
    wxString m_path;
    FileId m_file;
};

// True when the system can enumerate processes at all.
KX_API bool CanListProcesses();

// Fills list with every process whose executable the caller may read, in the system's order.
// Returns false with the system's error code in error when the enumeration could not start.
KX_API bool ListProcesses(std::vector<ProcessInfo>& list, int& error);

// The id of the calling process.
KX_API unsigned long GetCurrentProcessId();

// True while the process runs. A process that ended but was not reaped yet counts as ended;
// children started here are reaped on the way.
KX_API bool IsProcessRunning(unsigned long pid);

// Ends the process at once (it cannot refuse) and reaps it when it is a child started here.
// Returns false when the process could not be signalled.
KX_API bool KillProcess(unsigned long pid);

// Splits commandLine into arguments as a shell splits a quoted command line and starts the
// program named by the first one: a path, a bare name meaning the file in the current folder as
// everywhere else in the library, unless search is true, when a bare name is looked up in the
// folders of PATH as a shell would. The child is reaped by this layer once it has ended.
// Returns false with the system's error code in error when the program could not be started.
KX_API bool StartProcess(const wxString& commandLine, unsigned long& pid, int& error,
                         bool search = false);

// Opens a document or URL with the program the desktop associates with it.
KX_API bool OpenDocument(const wxString& document);
} // namespace kxPlatform

#endif
