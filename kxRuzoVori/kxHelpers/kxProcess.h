// Process helpers for hosts and for the command client: is a process running (by id or by the
// program file it runs), wait for one to end, start a program or open a document, and is a
// second instance of this application running.
#ifndef KXRUZOVORI_KXHELPERS_KXPROCESS_H
#define KXRUZOVORI_KXHELPERS_KXPROCESS_H

#include "kxRuzoVori/kxExport.h"

#include <wx/string.h>

// True while the process with this id runs; 0 and ended processes give false. Never throws.
KX_API bool kxIsProcessExists(unsigned long id);

// True when a running process runs the program file path names (relative and linked paths
// lead to the same file); its id is stored through id when id is not null. Throws kxException
// when the processes cannot be listed.
KX_API bool kxIsProcessExists(const wxString& path, unsigned long* id);

// True when the process ended, or never existed, before timeout milliseconds passed. The
// process is looked at every 500 ms, so the answer comes at the first look after it ended (or
// after the time-out): up to half a second late.
KX_API bool kxWaitProcess(unsigned long id, long timeout);

// Starts file with the given parameters when it is a program; the command line is split as a
// shell splits it, the file itself travelling as one argument. file names a file as everywhere
// in the library: a bare name is the file in the current folder, never one found on PATH. On
// success the new process id is stored in id; on failure the system's error code is stored
// through error, or id is set to 0 when error is null. id is left alone when it is
// g_kxEmptyULong. Any other file is opened with the program the desktop associates with it,
// touching neither id nor error; the parameters are not passed on then, as the desktop's opener
// (xdg-open) takes the document alone.
KX_API bool kxExecute(wxString file, unsigned long& id, wxString parameters, unsigned long* error);

// True when another process of this application, run by the same user, holds the instance
// lock. The first call takes the lock for this process until the toolkit shuts down.
KX_API bool kxIsAnotherInstanceRunning();

#endif
