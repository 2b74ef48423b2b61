// The process-wide fault handler: when the program faults (a bad memory access, a bus error, an
// arithmetic or illegal-instruction fault, or an abort), a reporter function gets the kind of
// fault, where it happened and the faulting thread's call stack, and then the process ends by
// the fault's own signal, so its exit status still tells the crash. Exported for the library's
// own tests.
//
// The reporter always runs on the main thread, which owns the user interface: a fault there is
// reported on the spot (on a stack of its own, so that a stack overflow is reported too); a
// faulting worker thread stops where it is and wakes the main thread, which reports from its
// event loop. While a report runs:
// - a second fault, on any thread, ends the process at once by the first fault's signal;
// - a watchdog ends the process by that signal when the report gives no sign of life for the
//   current bound: 10 seconds from the fault until the report starts and between signs of life
//   (see KeepFaultReportAlive), or a longer bound the report asks for before a long wait.
//
// Exception codes (FaultInfo::m_code) name the kind of fault with the codes Windows gives the
// same faults, so a report reads the same whichever system it came from:
//   SIGSEGV                          0xC0000005 access violation
//   SIGSEGV at the stack's limit     0xC00000FD stack overflow
//   SIGBUS, misaligned address       0x80000002 data type misalignment
//   SIGBUS, other                    0xC0000006 in-page error
//   SIGFPE, integer divide by zero   0xC0000094
//   SIGFPE, integer overflow         0xC0000095
//   SIGFPE, float divide by zero     0xC000008E
//   SIGFPE, float overflow           0xC0000091
//   SIGFPE, float underflow          0xC0000093
//   SIGFPE, float inexact result     0xC000008F
//   SIGFPE, float subscript range    0xC000008C array bounds exceeded
//   SIGFPE, other                    0xC0000090 float invalid operation
//   SIGILL, privileged instruction   0xC0000096
//   SIGILL, other                    0xC000001D illegal instruction
//   SIGABRT                          0x40000015 fatal application exit
#ifndef KXRUZOVORI_PLATFORM_KXPLATFORMFAULT_H
#define KXRUZOVORI_PLATFORM_KXPLATFORMFAULT_H

#include "kxRuzoVori/kxExport.h"

#include <string>

namespace kxPlatform
{
// A call stack, innermost frame first. Each address lies inside its instruction: the faulting
// instruction itself, then each call that is still waiting for its return.
struct StackTrace
{
    static const int kMaxFrames = 64;
    const void* m_frames[kMaxFrames] = {};
    int m_count = 0;
};

struct FaultInfo
{
    int m_signal = 0;                // the signal that reported the fault
    unsigned int m_code = 0;         // the kind of fault, from the table above
    const void* m_address = nullptr; // the faulting instruction
    StackTrace m_stack;              // the faulting thread's stack
};

// Reports one fault on the main thread. Returning true passes the fault on to the handler that
// was installed before (the system's default ends the process); false ends the process at once
// by the fault's signal.
typedef bool (*FaultReporter)(const FaultInfo& fault);

// Installs the handler for the five fault signals, replacing whatever handled them; calling it
// again installs it again (for a host whose other code took the signals over). Returns false
// when the system refused.
KX_API bool InstallFaultHandler(FaultReporter reporter);

// The calling thread's stack, from the caller of this function outwards, leaving out the skip
// innermost of those frames.
KX_API void CaptureStack(StackTrace& stack, int skip);

// The offset of address from the load base of the module (program or shared library) that
// holds it, which is the address a symbol resolver such as addr2line takes for that module. The
// offset is cut to 32 bits; for an address no module holds, it is the address's low 32 bits.
KX_API unsigned int GetModuleOffset(const void* address);

// One frame as "module+0x1a2b", followed by " (symbol+0x12)" when the module exports the
// function that holds address; module is the file name of the program or library.
KX_API std::string DescribeFrame(const void* address);

// Tells the watchdog the report is alive and may take up to boundMs before its next sign of
// life. Does nothing when no fault is being reported.
KX_API void KeepFaultReportAlive(int boundMs);

// The watchdog's bound from the fault to the report's start and between signs of life
// (10 seconds unless changed, for tests that want a hung report to end sooner).
KX_API void SetFaultWatchdogBound(int boundMs);
KX_API int GetFaultWatchdogBound();
} // namespace kxPlatform

#endif
