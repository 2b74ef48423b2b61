// The file system facts the library needs from the operating system: which file a path really
// names, whether a path names a program, whether a volume can be read, where the running program
// lives and how paths compare; and replacing a file's content in one step. Exported for the
// library's own tests.
#ifndef KXRUZOVORI_PLATFORM_KXPLATFORMFILE_H
#define KXRUZOVORI_PLATFORM_KXPLATFORMFILE_H

#include "kxRuzoVori/kxExport.h"

#include <wx/string.h>

#include <cstddef>

namespace kxPlatform
{
// The identity of a file itself, whatever path (relative, through links) leads to it.
struct FileId
{
    unsigned long long m_device = 0;
    unsigned long long m_inode = 0;
    bool m_valid = false;

    bool operator==(const FileId& other) const
    {
        return m_valid && other.m_valid && m_device == other.m_device && m_inode == other.m_inode;
    }
    bool operator!=(const FileId& other) const { return !(*this == other); }
};

// The identity of the file path leads to; invalid when there is none.
KX_API FileId GetFileId(const wxString& path);

// The absolute path of path with every link and "." or ".." resolved; empty when it names no
// existing file.
KX_API wxString GetCanonicalPath(const wxString& path);

// True when path names a regular file the caller may execute.
KX_API bool IsProgramFile(const wxString& path);

// True when the file system holding path can be read.
KX_API bool IsVolumeReadable(const wxString& path);

// The full path of the running program's file; empty when the system cannot say.
KX_API wxString GetExecutablePath();

// The form in which two paths are compared: this system's file names are case-sensitive, so
// the path is returned as it is.
KX_API wxString FoldPathCase(const wxString& path);

// Replaces the content of the file path names with size bytes so that, whenever the writer stops,
// the file holds either its old or its new content: the bytes go to a temporary file beside it,
// which is forced to disk and renamed over it. Links are followed: the file a link leads to is
// replaced (or created) and the link stays. An existing file keeps its permissions and, where the
// system permits, its owner and group; a new one gets what creating a file gives (0666 less the
// umask). Temporary files left beside it by writers that were killed (their process no longer
// runs) are removed on the way, never those of a writer that runs. False when the file could not
// be written; it is then unchanged.
KX_API bool ReplaceFile(const wxString& path, const void* data, size_t size);
} // namespace kxPlatform

#endif
