// Processes on POSIX systems: /proc, posix_spawn, waiting, ending and opening documents.
#include "kxRuzoVori/platform/kxPlatformProcess.h"

#include <wx/cmdline.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <mutex>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kxPlatform
{
namespace
{
// How long OpenDocument waits for the opener to report failure before trusting it.
const int kOpenerWaitMs = 3000;

// Children started here, until they are reaped. Kept apart from the host's own children, which
// the host reaps itself.
std::mutex& ChildrenLock()
{
    static std::mutex lock;
    return lock;
}

std::set<pid_t>& Children()
{
    static std::set<pid_t> children;
    return children;
}

void ReapChildren()
{
    std::lock_guard<std::mutex> guard(ChildrenLock());
    std::set<pid_t>& children = Children();
    for (auto it = children.begin(); it != children.end();)
    {
        const pid_t result = waitpid(*it, nullptr, WNOHANG);
        if (result == *it || (result < 0 && errno == ECHILD))
            it = children.erase(it);
        else
            ++it;
    }
}

// Waits for a child started here to end, for at most ms milliseconds. Returns true with its
// wait status when it ended.
bool WaitChild(pid_t pid, int ms, int& status)
{
    for (int waited = 0;; waited += 10)
    {
        const pid_t result = waitpid(pid, &status, WNOHANG);
        if (result == pid || (result < 0 && errno == ECHILD))
        {
            std::lock_guard<std::mutex> guard(ChildrenLock());
            Children().erase(pid);
            return result == pid;
        }
        if (waited >= ms)
            return false;
        usleep(10000);
    }
}

bool ToPid(unsigned long value, pid_t& pid)
{
    if (value == 0 || value > static_cast<unsigned long>(INT_MAX))
        return false;
    pid = static_cast<pid_t>(value);
    return true;
}

// The state letter of /proc/<pid>/stat: 'Z' and 'X' are processes that have ended.
char ProcessState(pid_t pid)
{
    char name[64];
    snprintf(name, sizeof name, "/proc/%d/stat", static_cast<int>(pid));
    FILE* file = fopen(name, "re");
    if (!file)
        return '?';
    char buffer[512];
    const size_t length = fread(buffer, 1, sizeof buffer - 1, file);
    fclose(file);
    buffer[length] = '\0';
    // The command name in parentheses may itself hold blanks and parentheses.
    const char* close = strrchr(buffer, ')');
    if (!close || close[1] != ' ' || close[2] == '\0')
        return '?';
    return close[2];
}

// Starts the program arguments[0] names; only a search starts it from the folders of PATH.
bool Spawn(const std::vector<std::string>& arguments, bool search, pid_t& pid, int& error)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    // The child gets none of our descriptors beyond the standard three: an inherited socket
    // would keep our connections open after we closed them.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    sigset_t mask;
    sigemptyset(&mask);
    posix_spawnattr_setsigmask(&attributes, &mask);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    {
        std::lock_guard<std::mutex> guard(ChildrenLock());
        error = search ? posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ)
                       : posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
        if (error == 0)
            Children().insert(pid);
    }
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0;
}
} // namespace

bool CanListProcesses()
{
    return access("/proc/self/exe", F_OK) == 0;
}

bool ListProcesses(std::vector<ProcessInfo>& list, int& error)
{
    ReapChildren();
    DIR* proc = opendir("/proc");
    if (!proc)
    {
        error = errno;
        return false;
    }
    std::string link(PATH_MAX, '\0');
    while (dirent* entry = readdir(proc))
    {
        char* end = nullptr;
        const unsigned long pid = strtoul(entry->d_name, &end, 10);
        if (pid == 0 || *end != '\0')
            continue;
        const std::string exe = std::string("/proc/") + entry->d_name + "/exe";
        // Ended processes and those of other users have no readable link: they are left out.
        const ssize_t length = readlink(exe.c_str(), &link[0], link.size());
        if (length <= 0 || static_cast<size_t>(length) >= link.size())
            continue;
        ProcessInfo info;
        info.m_pid = pid;
        info.m_path = wxString(link.c_str(), *wxConvFileName, static_cast<size_t>(length));
        struct stat file;
        if (stat(exe.c_str(), &file) == 0)
        {
            info.m_file.m_device = static_cast<unsigned long long>(file.st_dev);
            info.m_file.m_inode = static_cast<unsigned long long>(file.st_ino);
            info.m_file.m_valid = true;
        }
        list.push_back(info);
    }
    closedir(proc);
    return true;
}

unsigned long GetCurrentProcessId()
{
    return static_cast<unsigned long>(getpid());
}

bool IsProcessRunning(unsigned long value)
{
    pid_t pid;
    if (!ToPid(value, pid))
        return false;
    ReapChildren();
    if (kill(pid, 0) != 0 && errno != EPERM)
        return false;
    const char state = ProcessState(pid);
    return state != 'Z' && state != 'X';
}

bool KillProcess(unsigned long value)
{
    pid_t pid;
    if (!ToPid(value, pid) || kill(pid, SIGKILL) != 0)
        return false;
    bool ours;
    {
        std::lock_guard<std::mutex> guard(ChildrenLock());
        ours = Children().count(pid) != 0;
    }
    int status;
    if (ours)
        WaitChild(pid, 5000, status);
    return true;
}

bool StartProcess(const wxString& commandLine, unsigned long& pid, int& error, bool search)
{
    const wxArrayString split =
        wxCmdLineParser::ConvertStringToArgs(commandLine, wxCMD_LINE_SPLIT_UNIX);
    if (split.empty() || split[0].empty())
    {
        error = ENOENT;
        return false;
    }
    std::vector<std::string> arguments;
    for (const wxString& argument : split)
        arguments.push_back(std::string(argument.fn_str()));
    pid_t child;
    if (!Spawn(arguments, search, child, error))
        return false;
    pid = static_cast<unsigned long>(child);
    return true;
}

bool OpenDocument(const wxString& document)
{
    if (document.empty())
        return false;
    pid_t child;
    int error;
    if (!Spawn({"xdg-open", std::string(document.fn_str())}, true, child, error))
        return false;
    // The opener reports an unknown type or a missing file by its exit status; one that is
    // still busy after a while has handed the document on, and is reaped later.
    int status = 0;
    if (!WaitChild(child, kOpenerWaitMs, status))
        return true;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
} // namespace kxPlatform
