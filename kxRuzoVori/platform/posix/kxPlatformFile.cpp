// The file system on POSIX systems: real paths, programs, volumes, the running program and
// replacing a file in one step.
#include "kxRuzoVori/platform/kxPlatformFile.h"

#include "kxRuzoVori/platform/kxPlatformProcess.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace kxPlatform
{
namespace
{
// A chain of links longer than this is taken for a loop, as the system itself does.
const int kMaxLinks = 40;
const char kTemporarySuffix[] = ".tmp";

// The temporary files this process is writing right now: a file with our process id that is not
// among them was left by an earlier process that had the same id.
std::mutex& WritingLock()
{
    static std::mutex lock;
    return lock;
}

std::set<std::string>& Writing()
{
    static std::set<std::string> writing;
    return writing;
}

// The file that path leads to through its links; path itself when it is no link.
std::string FollowLinks(std::string path)
{
    for (int hop = 0; hop < kMaxLinks; ++hop)
    {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(path.c_str(), &target[0], target.size());
        if (length <= 0 || static_cast<size_t>(length) >= target.size())
            return path;
        target.resize(static_cast<size_t>(length));
        const size_t slash = path.rfind('/');
        if (target[0] != '/' && slash != std::string::npos)
            target.insert(0, path, 0, slash + 1);
        path = target;
    }
    return path;
}

// The temporary file beside name (in dir) of a writer with this process id, and the number that
// tells this process's writers apart: "<name>.<pid>-<n>.tmp".
std::string TemporaryName(const std::string& name, unsigned long pid, unsigned long number)
{
    return name + "." + std::to_string(pid) + "-" + std::to_string(number) + kTemporarySuffix;
}

// The process id in the name of a temporary file for name ("<name>.<pid>-<n>.tmp"), or 0 when
// entry is no such file.
unsigned long WriterOf(const std::string& entry, const std::string& name)
{
    const size_t suffix = sizeof kTemporarySuffix - 1;
    if (entry.size() <= name.size() + 1 + suffix || entry.compare(0, name.size(), name) != 0 ||
        entry[name.size()] != '.' ||
        entry.compare(entry.size() - suffix, suffix, kTemporarySuffix) != 0)
        return 0;
    const std::string middle =
        entry.substr(name.size() + 1, entry.size() - name.size() - 1 - suffix);
    const size_t dash = middle.find('-');
    if (dash == 0 || dash == std::string::npos || dash + 1 == middle.size() ||
        middle.find_first_not_of("0123456789", dash + 1) != std::string::npos ||
        middle.find_first_not_of("0123456789") != dash)
        return 0;
    return std::strtoul(middle.c_str(), nullptr, 10);
}

// Removes the temporary files for name in dir whose writer no longer runs.
void RemoveDeadTemporaries(const std::string& dir, const std::string& name)
{
    DIR* folder = opendir(dir.c_str());
    if (!folder)
        return;
    const unsigned long self = GetCurrentProcessId();
    std::vector<std::string> dead;
    while (const dirent* entry = readdir(folder))
    {
        const unsigned long writer = WriterOf(entry->d_name, name);
        if (writer == 0)
            continue;
        const std::string path = dir + "/" + entry->d_name;
        bool live;
        if (writer == self)
        {
            std::lock_guard<std::mutex> guard(WritingLock());
            live = Writing().count(path) != 0;
        }
        else
            live = IsProcessRunning(writer);
        if (!live)
            dead.push_back(path);
    }
    closedir(folder);
    for (const std::string& path : dead)
        unlink(path.c_str());
}

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0)
    {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Writes the temporary file: the target's owner and permissions when it exists, forced to disk.
bool WriteTemporary(const std::string& temporary, const std::string& target, const void* data,
                    size_t size)
{
    struct stat existing;
    const bool exists = stat(target.c_str(), &existing) == 0;
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                        exists ? S_IRUSR | S_IWUSR : 0666);
    if (fd < 0)
        return false;
    if (exists)
    {
        // Owner first: changing it may clear the set-id bits the mode then gives back. Where the
        // owner may not be given away the group may still be one of ours; where neither may, the
        // file gets the writer's.
        const bool owned = (existing.st_uid == geteuid() && existing.st_gid == getegid()) ||
                           fchown(fd, existing.st_uid, existing.st_gid) == 0 ||
                           fchown(fd, static_cast<uid_t>(-1), existing.st_gid) == 0;
        static_cast<void>(owned);
        if (fchmod(fd, existing.st_mode & 07777) != 0)
        {
            close(fd);
            return false;
        }
    }
    const bool written = WriteAll(fd, static_cast<const char*>(data), size) && fsync(fd) == 0;
    return close(fd) == 0 && written;
}
} // namespace

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

bool ReplaceFile(const wxString& path, const void* data, size_t size)
{
    if (path.empty())
        return false;
    const std::string target = FollowLinks(std::string(path.fn_str()));
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string(".")
                            : slash == 0               ? std::string("/")
                                                       : target.substr(0, slash);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty())
        return false;
    RemoveDeadTemporaries(dir, name);

    static std::atomic<unsigned long> s_number{0};
    const std::string temporary =
        (dir == "/" ? dir : dir + "/") + TemporaryName(name, GetCurrentProcessId(), ++s_number);
    {
        std::lock_guard<std::mutex> guard(WritingLock());
        Writing().insert(temporary);
    }
    const bool replaced = WriteTemporary(temporary, target, data, size) &&
                          rename(temporary.c_str(), target.c_str()) == 0;
    if (!replaced)
        unlink(temporary.c_str());
    std::lock_guard<std::mutex> guard(WritingLock());
    Writing().erase(temporary);
    return replaced;
}
} // namespace kxPlatform
