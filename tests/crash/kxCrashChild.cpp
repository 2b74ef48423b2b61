// A host program that faults on request, for the crash handler's tests. It creates its kxHalt
// for the SMTP server on 127.0.0.1 at the port it is given and, once its event loop runs, does
// what the mode names:
//   main     writes through a null pointer on the main thread
//   worker   writes through a null pointer on a worker thread
//   blocked  the same while the main thread waits for that worker (watchdog bound 1 second)
//   show     calls ShowHaltDlg, prints "returned" and ends normally
//   twice    creates a second kxHalt, deletes the first, creates a third; prints what each threw
// and, with a kxHalt whose report prints "offset 0x.. code 0x.." instead of showing the dialog:
//   null, divide, abort, overflow   the fault of that kind on the main thread
//   again    divides by zero, and the report writes through a null pointer
//   passon   writes through a null pointer; the report passes the fault on to the handler the
//            program had installed before, which ends the program with exit code 42
//   retake   installs that handler after the kxHalt, has SetHandler take the signals back and
//            writes through a null pointer
#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/crash/kxHalt.h"
#include "kxRuzoVori/platform/kxPlatformFault.h"

#include <wx/app.h>
#include <wx/debug.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

// Read at run time, so the compiler cannot tell the write below goes nowhere.
volatile int* volatile g_nowhere = nullptr;

// Exported, so the report names them beside their offsets. The sanitizers must not catch the
// faults before the crash handler does.
extern "C" __attribute__((visibility("default"), noinline, no_sanitize("undefined"))) void
WriteThroughNullPointer()
{
    *g_nowhere = 42;
}

extern "C" __attribute__((visibility("default"), noinline)) void FaultOnMainThread()
{
    WriteThroughNullPointer();
    std::puts("not reached");
}

extern "C" __attribute__((visibility("default"), noinline)) void FaultOnWorkerThread()
{
    WriteThroughNullPointer();
    std::puts("not reached");
}

namespace
{
std::string g_mode;
int g_port = 0;

__attribute__((noinline, no_sanitize("undefined"))) int Divide(int dividend)
{
    volatile int divisor = 0;
    return dividend / divisor;
}

// Goes deeper until the stack runs out.
volatile bool g_deeper = true;

__attribute__((noinline)) int Recurse(int depth)
{
    volatile char frame[256];
    frame[depth % sizeof frame] = static_cast<char>(depth);
    return (g_deeper ? Recurse(depth + 1) : 0) + frame[0];
}

class PrintingHalt : public kxHalt
{
public:
    PrintingHalt(int port, bool passOn)
        : kxHalt(wxNullBitmap, wxS("developer@example.org"), wxS("crash@example.org"),
                 wxS("127.0.0.1"), wxS("kxUser"), wxS("kxSecret"), port),
          m_passOn(passOn)
    {
    }

protected:
    bool ProtectedOnUnhandledException(unsigned int address, unsigned int code) override
    {
        std::printf("offset 0x%X code 0x%X\n", address, code);
        std::fflush(stdout);
        if (g_mode == "again")
            WriteThroughNullPointer();
        return m_passOn;
    }

private:
    bool m_passOn;
};

void PreviousHandler(int)
{
    std::puts("previous handler");
    std::fflush(stdout);
    _exit(42);
}

void Twice()
{
    kxHalt* first = new kxHalt(wxNullBitmap, wxS("a"), wxS("b"), wxS("c"), wxS("d"), wxS("e"), 25);
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        try
        {
            kxHalt again(wxNullBitmap, wxS("a"), wxS("b"), wxS("c"), wxS("d"), wxS("e"), 25);
            std::puts("no exception");
        }
        catch (const kxException& failure)
        {
            std::printf("%s | %s\n", failure.GetMsg().utf8_str().data(),
                        failure.GetClass().utf8_str().data());
        }
        delete first;
        first = nullptr;
    }
    std::fflush(stdout);
}

void Act()
{
    if (g_mode == "main" || g_mode == "null" || g_mode == "passon" || g_mode == "retake")
        FaultOnMainThread();
    else if (g_mode == "worker")
        std::thread(FaultOnWorkerThread).detach();
    else if (g_mode == "blocked")
        std::thread(FaultOnWorkerThread).join();
    else if (g_mode == "divide" || g_mode == "again")
        std::printf("%d\n", Divide(7));
    else if (g_mode == "abort")
        abort();
    else if (g_mode == "overflow")
        std::printf("%d\n", Recurse(0));
}

class CrashChildApp : public wxApp
{
public:
    bool OnInit() override
    {
        if (g_mode == "twice")
        {
            Twice();
            return false;
        }
        if (g_mode == "passon")
            signal(SIGSEGV, PreviousHandler);
        const bool printing = g_mode == "null" || g_mode == "divide" || g_mode == "abort" ||
                              g_mode == "overflow" || g_mode == "again" || g_mode == "passon" ||
                              g_mode == "retake";
        if (printing)
            m_halt = new PrintingHalt(g_port, g_mode == "passon");
        else
            m_halt =
                new kxHalt(wxNullBitmap, wxS("developer@example.org"), wxS("crash@example.org"),
                           wxS("127.0.0.1"), wxS("kxUser"), wxS("kxSecret"), g_port);
        if (g_mode == "blocked")
            kxPlatform::SetFaultWatchdogBound(1000);
        if (g_mode == "retake")
        {
            signal(SIGSEGV, PreviousHandler);
            m_halt->SetHandler();
        }
        CallAfter(
            [this]
            {
                if (g_mode != "show")
                {
                    Act();
                    return;
                }
                m_halt->ShowHaltDlg();
                std::puts("returned");
                std::fflush(stdout);
                ExitMainLoop();
            });
        return true;
    }

    int OnExit() override
    {
        delete m_halt;
        return wxApp::OnExit();
    }

private:
    kxHalt* m_halt = nullptr;
};

void FailOnAssert(const wxString& file, int line, const wxString&, const wxString& condition,
                  const wxString& message)
{
    std::fprintf(stderr, "assertion %s (%s) at %s:%d\n", condition.utf8_str().data(),
                 message.utf8_str().data(), file.utf8_str().data(), line);
    _exit(3);
}
} // namespace

wxIMPLEMENT_APP_NO_MAIN(CrashChildApp);

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    g_mode = argv[1];
    g_port = std::atoi(argv[2]);
    // The crashes are meant: no core files.
    const rlimit none = {0, 0};
    setrlimit(RLIMIT_CORE, &none);
    wxSetAssertHandler(FailOnAssert);
    return wxEntry(argc, argv);
}
