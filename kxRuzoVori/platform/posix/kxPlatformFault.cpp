// The fault handler on POSIX signals: an alternate stack for the main thread, the hand-off of a
// worker thread's fault to the main thread through a pipe, and the watchdog thread.
#include "kxRuzoVori/platform/kxPlatformFault.h"

#include <wx/app.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

namespace kxPlatform
{
namespace
{
const int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
const int kSignalCount = sizeof kSignals / sizeof kSignals[0];

// The report runs on this stack when the main thread faults: large enough for a modal dialog,
// a TLS handshake and the mail, and reached even when the thread's own stack is exhausted.
const size_t kAlternateStackSize = 8 << 20;

// A fault whose address lies this close below the stack pointer ran out of stack.
const std::uintptr_t kStackOverflowReach = 64 * 1024;

struct Handler
{
    FaultReporter m_reporter = nullptr;
    struct sigaction m_previous[kSignalCount];
    bool m_hasPrevious[kSignalCount] = {};
    int m_handOff[2] = {-1, -1};  // a faulting worker wakes the hand-off thread
    int m_watchdog[2] = {-1, -1}; // signs of life for the watchdog thread
    bool m_threads = false;
    void* m_alternateStack = nullptr;
};

Handler s_handler;
// The signal of the fault being reported; 0 while there is none.
std::atomic<int> s_faultSignal{0};
std::atomic<int> s_watchdogBound{10000};
// The fault being reported: written once, by the handler on the faulting thread.
FaultInfo s_fault;

bool IsMainThread()
{
    return syscall(SYS_gettid) == getpid();
}

// Ends the process by signal: through the handler that was there before ours when passOn,
// otherwise through the system's default action. Safe inside a signal handler.
[[noreturn]] void EndProcess(int signal, bool passOn)
{
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = SIG_DFL;
    for (int i = 0; i < kSignalCount; ++i)
        if (passOn && kSignals[i] == signal && s_handler.m_hasPrevious[i])
            action = s_handler.m_previous[i];
    sigaction(signal, &action, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
    // The handler passed on to returned: the default action ends the process.
    action.sa_handler = SIG_DFL;
    action.sa_flags = 0;
    sigaction(signal, &action, nullptr);
    raise(signal);
    _exit(128 + signal);
}

const void* ProgramCounter(const void* context)
{
    const ucontext_t* state = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
    return reinterpret_cast<const void*>(state->uc_mcontext.gregs[REG_RIP]);
#elif defined(__i386__)
    return reinterpret_cast<const void*>(state->uc_mcontext.gregs[REG_EIP]);
#elif defined(__aarch64__)
    return reinterpret_cast<const void*>(state->uc_mcontext.pc);
#else
    (void)state;
    return nullptr;
#endif
}

std::uintptr_t StackPointer(const void* context)
{
    const ucontext_t* state = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
    return static_cast<std::uintptr_t>(state->uc_mcontext.gregs[REG_RSP]);
#elif defined(__i386__)
    return static_cast<std::uintptr_t>(state->uc_mcontext.gregs[REG_ESP]);
#elif defined(__aarch64__)
    return static_cast<std::uintptr_t>(state->uc_mcontext.sp);
#else
    (void)state;
    return 0;
#endif
}

unsigned int CodeOf(int signal, const siginfo_t* info, const void* context)
{
    switch (signal)
    {
    case SIGSEGV:
    {
        const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(info->si_addr);
        const std::uintptr_t stack = StackPointer(context);
        const bool overflow =
            stack != 0 && address + kStackOverflowReach >= stack && address < stack + 4096;
        return overflow ? 0xC00000FDu : 0xC0000005u;
    }
    case SIGBUS:
        return info->si_code == BUS_ADRALN ? 0x80000002u : 0xC0000006u;
    case SIGFPE:
        switch (info->si_code)
        {
        case FPE_INTDIV:
            return 0xC0000094u;
        case FPE_INTOVF:
            return 0xC0000095u;
        case FPE_FLTDIV:
            return 0xC000008Eu;
        case FPE_FLTOVF:
            return 0xC0000091u;
        case FPE_FLTUND:
            return 0xC0000093u;
        case FPE_FLTRES:
            return 0xC000008Fu;
        case FPE_FLTSUB:
            return 0xC000008Cu;
        default:
            return 0xC0000090u;
        }
    case SIGILL:
        return info->si_code == ILL_PRVOPC || info->si_code == ILL_PRVREG ? 0xC0000096u
                                                                          : 0xC000001Du;
    default:
        return 0x40000015u;
    }
}

// The stack as the unwinder sees it from inside the handler, from the faulting frame on. The
// unwinder gives the exact faulting instruction for the interrupted frame and return addresses
// for the frames that called it.
void CaptureFaultStack(const void* pc, StackTrace& stack)
{
    void* frames[StackTrace::kMaxFrames + 16];
    const int count = backtrace(frames, StackTrace::kMaxFrames + 16);
    stack.m_count = 0;
    stack.m_frames[stack.m_count++] = pc;
    int next = count;
    for (int i = 0; i < count; ++i)
        if (frames[i] == pc)
        {
            next = i + 1;
            break;
        }
    for (; next < count && stack.m_count < StackTrace::kMaxFrames; ++next)
        stack.m_frames[stack.m_count++] = static_cast<const char*>(frames[next]) - 1;
}

// Writes are never allowed to block: the pipes' write ends do not wait, and a full pipe already
// holds a wake-up.
void Post(int pipe, const void* data, size_t size)
{
    while (write(pipe, data, size) < 0 && errno == EINTR)
    {
    }
}

void Arm(int boundMs)
{
    Post(s_handler.m_watchdog[1], &boundMs, sizeof boundMs);
}

bool Report()
{
    return s_handler.m_reporter && s_handler.m_reporter(s_fault);
}

void OnFault(int signal, siginfo_t* info, void* context)
{
    int none = 0;
    if (!s_faultSignal.compare_exchange_strong(none, signal))
        EndProcess(s_faultSignal.load(), false);
    Arm(s_watchdogBound.load());
    s_fault.m_signal = signal;
    s_fault.m_code = CodeOf(signal, info, context);
    s_fault.m_address = ProgramCounter(context);
    CaptureFaultStack(s_fault.m_address, s_fault.m_stack);
    if (IsMainThread() || !s_handler.m_threads)
        EndProcess(signal, IsMainThread() && Report());
    // A worker thread waits here, holding whatever it held, until the main thread has reported
    // and ended the process.
    const char wake = 1;
    Post(s_handler.m_handOff[1], &wake, 1);
    for (;;)
        pause();
}

// Waits for a worker's fault and has the main thread's event loop report it.
void* HandOffThread(void*)
{
    char wake = 0;
    while (read(s_handler.m_handOff[0], &wake, 1) != 1)
    {
    }
    wxAppConsole* app = wxAppConsole::GetInstance();
    if (!app)
        EndProcess(s_faultSignal.load(), false);
    app->CallAfter(
        []
        {
            KeepFaultReportAlive(s_watchdogBound.load());
            EndProcess(s_fault.m_signal, Report());
        });
    return nullptr;
}

// Ends the process when a report under way gives no sign of life within its bound. Until the
// first fault it only waits.
void* WatchdogThread(void*)
{
    using Clock = std::chrono::steady_clock;
    bool armed = false;
    Clock::time_point deadline;
    for (;;)
    {
        int timeout = -1;
        if (armed)
        {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                EndProcess(s_faultSignal.load() ? s_faultSignal.load() : SIGABRT, false);
            timeout = static_cast<int>(left.count()) + 1;
        }
        pollfd entry{s_handler.m_watchdog[0], POLLIN, 0};
        if (poll(&entry, 1, timeout) <= 0)
            continue;
        int bound = 0;
        if (read(s_handler.m_watchdog[0], &bound, sizeof bound) == sizeof bound)
        {
            armed = true;
            deadline = Clock::now() + std::chrono::milliseconds(bound);
        }
    }
}

bool MakePipe(int ends[2])
{
    if (ends[0] >= 0)
        return true;
    return pipe2(ends, O_CLOEXEC) == 0 && fcntl(ends[1], F_SETFL, O_NONBLOCK) == 0;
}

// The two helper threads start once, with every signal blocked, so that no signal meant for the
// host lands on them.
bool StartThreads()
{
    if (s_handler.m_threads)
        return true;
    if (!MakePipe(s_handler.m_handOff) || !MakePipe(s_handler.m_watchdog))
        return false;
    sigset_t all;
    sigset_t old;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &old);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    s_handler.m_threads = pthread_create(&thread, &attributes, WatchdogThread, nullptr) == 0 &&
                          pthread_create(&thread, &attributes, HandOffThread, nullptr) == 0;
    pthread_attr_destroy(&attributes);
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return s_handler.m_threads;
}

void UseAlternateStack()
{
    if (s_handler.m_alternateStack || !IsMainThread())
        return;
    // One page below the stack stays inaccessible, so running off its end faults at once.
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* area = mmap(nullptr, kAlternateStackSize + page, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (area == MAP_FAILED)
        return;
    mprotect(area, page, PROT_NONE);
    stack_t stack;
    memset(&stack, 0, sizeof stack);
    stack.ss_sp = static_cast<char*>(area) + page;
    stack.ss_size = kAlternateStackSize;
    if (sigaltstack(&stack, nullptr) == 0)
        s_handler.m_alternateStack = area;
    else
        munmap(area, kAlternateStackSize + page);
}
} // namespace

bool InstallFaultHandler(FaultReporter reporter)
{
    // The unwinder loads its support on first use, which a signal handler must not do.
    void* warm[2];
    backtrace(warm, 2);
    UseAlternateStack();
    StartThreads();
    s_handler.m_reporter = reporter;

    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_sigaction = OnFault;
    // A fault inside the report must reach the handler again, to end the process by the first
    // fault's signal rather than be held back until the report is over.
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    bool installed = true;
    for (int i = 0; i < kSignalCount; ++i)
    {
        struct sigaction previous;
        if (sigaction(kSignals[i], &action, &previous) != 0)
        {
            installed = false;
            continue;
        }
        if (!(previous.sa_flags & SA_SIGINFO) || previous.sa_sigaction != OnFault)
        {
            s_handler.m_previous[i] = previous;
            s_handler.m_hasPrevious[i] = true;
        }
    }
    return installed;
}

__attribute__((noinline)) void CaptureStack(StackTrace& stack, int skip)
{
    void* frames[StackTrace::kMaxFrames + 1];
    const int count = backtrace(frames, StackTrace::kMaxFrames + 1);
    stack.m_count = 0;
    // The first frame is this function's own.
    for (int i = 1 + (skip > 0 ? skip : 0); i < count && stack.m_count < StackTrace::kMaxFrames;
         ++i)
        stack.m_frames[stack.m_count++] = static_cast<const char*>(frames[i]) - 1;
}

unsigned int GetModuleOffset(const void* address)
{
    Dl_info info;
    std::uintptr_t offset = reinterpret_cast<std::uintptr_t>(address);
    if (address && dladdr(address, &info) && info.dli_fbase)
        offset -= reinterpret_cast<std::uintptr_t>(info.dli_fbase);
    return static_cast<unsigned int>(offset);
}

std::string DescribeFrame(const void* address)
{
    Dl_info info;
    memset(&info, 0, sizeof info);
    const bool found = address && dladdr(address, &info) && info.dli_fname;
    std::string module = found && *info.dli_fname ? info.dli_fname : "?";
    module = module.substr(module.find_last_of('/') + 1);
    char text[64];
    snprintf(text, sizeof text, "+0x%x", GetModuleOffset(address));
    std::string frame = module + text;
    if (found && info.dli_sname && info.dli_saddr)
    {
        int status = -1;
        char* readable = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
        snprintf(text, sizeof text, "+0x%zx",
                 static_cast<size_t>(static_cast<const char*>(address) -
                                     static_cast<const char*>(info.dli_saddr)));
        frame += std::string(" (") + (status == 0 ? readable : info.dli_sname) + text + ")";
        free(readable);
    }
    return frame;
}

void KeepFaultReportAlive(int boundMs)
{
    if (s_faultSignal.load() != 0)
        Arm(boundMs);
}

void SetFaultWatchdogBound(int boundMs)
{
    s_watchdogBound = boundMs;
}

int GetFaultWatchdogBound()
{
    return s_watchdogBound.load();
}
} // namespace kxPlatform
