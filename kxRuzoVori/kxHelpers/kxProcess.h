// Process helpers for hosts and for the command client: is a process running (by id or by the
// program file it runs), wait for one to end, start a program or open a document, and is a
// second instance of this application running.
#ifndef KXRUZOVORI_KXHELPERS_KXPROCESS_H
#define KXRUZOVORI_KXHELPERS_KXPROCESS_H

#include "kxRuzoVori/kxExport.h"

#include <wx/string.h>

/// True while the process with this id runs; 0 and ended processes give false, and so does one
/// that has ended but was not reaped yet (a zombie). Never throws.
KX_API bool kxIsProcessExists(unsigned long id);

/// True when a running process runs the program file path names; its id is stored through id
/// when id is not null. A process is known by the executable file itself, so relative and linked
/// paths lead to it, and a program rebuilt since it started is told apart from the running one.
/// \throws kxException (class text "kxRuzoVori exception") when the processes cannot be listed:
///         "Can not get process list. Function CreateToolhelp32Snapshot() failed. GetLastError()
///         value: %d" with the system's error number, or "Can not get process list, becouse it's
///         empty".
KX_API bool kxIsProcessExists(const wxString& path, unsigned long* id);

/// True when the process ended, or never existed, before timeout milliseconds passed. The
/// process is looked at every 500 ms, so the answer comes at the first look after it ended (or
/// after the time-out): up to half a second late.
KX_API bool kxWaitProcess(unsigned long id, long timeout);

/// Starts file with the given parameters when it is a program (on Linux: an executable regular
/// file, where Windows looked for .exe and .com); the command line is split as a shell splits
/// it, but no shell runs it, the file itself travelling as one argument. file names a file as
/// everywhere in the library: a bare name is the file in the current folder, never one found on
/// PATH. Children it starts are reaped when they end. Returns true when the program started or
/// the document was handed on. On success the new process id is stored in id; on failure the
/// system's error code is stored through error, or id is set to 0 when error is null. id is left
/// alone when it is g_kxEmptyULong. Any other file is opened with the program the desktop
/// associates with it (`xdg-open`), touching neither id nor error; the parameters are not passed
/// on then, as the desktop's opener takes the document alone.
KX_API bool kxExecute(wxString file, unsigned long& id, wxString parameters, unsigned long* error);

/// True when another process of this application, run by the same user, holds the instance
/// lock. The first call takes the lock for this process until the toolkit shuts down.
KX_API bool kxIsAnotherInstanceRunning();

#endif
