#ifndef KXRUZOVORI_CRASH_KXHALT_H
#define KXRUZOVORI_CRASH_KXHALT_H

#include "kxRuzoVori/kxExport.h"
#include "kxRuzoVori/mail/Options.h"

#include <wx/bitmap.h>
#include <wx/string.h>

/// The crash handler: a host creates one kxHalt at start-up, and from then on a fault anywhere in
/// the process (a bad memory access, a bus error, an arithmetic or illegal-instruction fault, an
/// abort) shows the "Crash report" dialog, mails the report when the user presses "Send", and
/// ends the process by the fault's own signal.
///
/// The report's mail reads:
///   Exception offset: 0x1A2B   the faulting instruction's offset in its program or library
///   Exception code: 0xC0000005 the kind of fault, as Windows codes it (access violation here)
///   (empty line)
///   User e-mail: ...
///   User note:...
/// followed by an empty line, "Call stack:" and one line per frame of the faulting thread,
/// innermost first, as "#0 module+0xoffset (symbol+0x12)"; each offset resolves with
/// "addr2line -f -C -e module 0xoffset" (the symbol is named where the module exports it).
///
/// The dialog always runs on the main thread: a faulting worker thread waits where it is until
/// the main thread has reported its fault. A watchdog ends a report that stops making progress:
/// the report must start within 10 seconds of the fault, its dialog's event loop must keep
/// turning (a stop of 10 seconds ends it), and the mail may take 14 times its time-out plus 10
/// seconds (the most its waits on the network can add up to). A second fault during the report
/// ends the process at once, by the first fault's signal.
class KX_API kxHalt
{
public:
    /// Keeps the picture for the dialog and where the report goes; throws kxException when a
    /// kxHalt was created before in this process, even one that is gone by now.
    kxHalt(wxBitmap picture, wxString to, wxString from, wxString host, wxString user,
           wxString password, int port);
    /// The same, with the mail's TLS choice, trusted certificates and time-out.
    kxHalt(wxBitmap picture, wxString to, wxString from, wxString host, wxString user,
           wxString password, int port, const mail::Options& options);
    virtual ~kxHalt();
    kxHalt(const kxHalt&) = delete;
    kxHalt& operator=(const kxHalt&) = delete;

    /// Takes the fault signals back for the crash handler, for a host whose other code installed
    /// handlers of its own since.
    void SetHandler();

    /// Shows the dialog and sends the report as if a fault had happened (offset and code 0),
    /// then returns. Call it on the main thread.
    void ShowHaltDlg();

protected:
    /// The report: the dialog, then the mail when the user chose "Send". Returns whether the fault
    /// goes on to the handler that was installed before the crash handler; this version returns
    /// false, so the process ends by the fault's signal at once.
    virtual bool ProtectedOnUnhandledException(unsigned int address, unsigned int code);

private:
    friend class kxHaltReport;

    wxBitmap m_picture;
    wxString m_to;
    wxString m_from;
    wxString m_host;
    wxString m_user;
    wxString m_password;
    int m_port;
    mail::Options m_options;
};

#endif
