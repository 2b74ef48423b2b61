// Replacing a file atomically through a temporary file beside it.
#include "kxRuzoVori/settings/private/kxAtomicFile.h"

#include <wx/file.h>
#include <wx/filefn.h>
#include <wx/filename.h>

// temporary over path, so path always holds either its old or its new content.
bool kxWriteFileAtomically(const wxString& path, const void* data, size_t size)
{
    wxFile file;
    const wxString temporary = wxFileName::CreateTempFileName(path, &file);
    if (temporary.empty())
        return false;
    const bool written = file.Write(data, size) == size && file.Flush() && file.Close();
    if (written && wxRenameFile(temporary, path, true))
        return true;
    file.Close();
    wxRemoveFile(temporary);
    return false;
}
