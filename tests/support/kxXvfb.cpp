// A private Xvfb for GUI test programs that find no DISPLAY.
#include "support/kxXvfb.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
pid_t s_xvfb = 0;

void StopXvfb()
{
    if (s_xvfb > 0)
    {
        kill(s_xvfb, SIGTERM);
        waitpid(s_xvfb, nullptr, 0);
        s_xvfb = 0;
    }
}
} // namespace

bool kxTestEnsureDisplay()
{
    const char* display = getenv("DISPLAY");
    if (display && *display)
        return true;

    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0)
    {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
               "1280x1024x24", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty())
    {
        waitpid(child, nullptr, 0);
        return false;
    }
    s_xvfb = child;
    atexit(StopXvfb);
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return true;
}
