// The library's one table of running processes, behind the process helpers: it lists processes
// with the files they run and answers whether a process, given by id or by its program file,
// runs. Created on first use and released when the toolkit shuts down. Internal to the library.
#ifndef KXRUZOVORI_KXHELPERS_KXPROCESSLIST_H
#define KXRUZOVORI_KXHELPERS_KXPROCESSLIST_H

#include "kxRuzoVori/platform/kxPlatformFile.h"

#include <wx/string.h>

#include <vector>

// One running process as the table lists it.
struct kxProcessEntry
{
    wxString m_path;
    unsigned long m_id = 0;
    kxPlatform::FileId m_file;
};

typedef std::vector<kxProcessEntry> kxProcessEntryList;

class kxProcessList
{
public:
    kxProcessList();

    // The library-wide table, made on first use.
    static kxProcessList& Get();

    bool IsProcessExists(unsigned long id) const;
    // True when the process ended (or never existed) before timeout milliseconds passed.
    bool WaitProcess(unsigned long id, long timeout) const;
    // Appends every process the caller may inspect; throws kxException when there is none.
    void GetProcessList(kxProcessEntryList& list) const;
    // Finds a process running the file path names; stores its id through id when given.
    bool IsProcessExists(const wxString& path, unsigned long* id) const;

private:
    bool m_available;
};

#endif
