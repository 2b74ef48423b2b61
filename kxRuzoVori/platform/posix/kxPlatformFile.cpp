// The file system on POSIX systems: real paths, programs, volumes and the running program.
#include "kxRuzoVori/platform/kxPlatformFile.h"

#include <climits>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace kxPlatform
{
FileId GetFileId(const wxString& path)
{
    FileId id;
    struct stat info;
    if (!path.empty() && stat(path.fn_str(), &info) == 0)
    {
        id.m_device = static_cast<unsigned long long>(info.st_dev);
        id.m_inode = static_cast<unsigned long long>(info.st_ino);
        id.m_valid = true;
    }
    return id;
}

wxString GetCanonicalPath(const wxString& path)
{
    if (path.empty())
        return wxString();
    char* resolved = realpath(path.fn_str(), nullptr);
    if (!resolved)
        return wxString();
    wxString result(resolved, *wxConvFileName);
    free(resolved);
    return result;
}

bool IsProgramFile(const wxString& path)
{
    struct stat info;
    return !path.empty() && stat(path.fn_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.fn_str(), X_OK) == 0;
}

bool IsVolumeReadable(const wxString& path)
{
    struct statvfs info;
    return !path.empty() && statvfs(path.fn_str(), &info) == 0;
}

wxString GetExecutablePath()
{
    std::string buffer(PATH_MAX, '\0');
    const ssize_t length = readlink("/proc/self/exe", &buffer[0], buffer.size());
    if (length <= 0 || static_cast<size_t>(length) >= buffer.size())
        return wxString();
    buffer.resize(static_cast<size_t>(length));
    return wxString(buffer.c_str(), *wxConvFileName);
}

wxString FoldPathCase(const wxString& path)
{
    return path;
}
} // namespace kxPlatform
