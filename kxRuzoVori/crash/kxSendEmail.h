// Sending one plain-text e-mail from a host's wide strings through the library's SMTP client.
// Every failure becomes a translated text a user can read, and a false result; nothing is thrown.
#ifndef KXRUZOVORI_CRASH_KXSENDEMAIL_H
#define KXRUZOVORI_CRASH_KXSENDEMAIL_H

#include "kxRuzoVori/kxExport.h"
#include "kxRuzoVori/mail/Options.h"

#include <wx/string.h>

/// Sends the message from the sender to the recipient through the server at host and port,
/// authenticating with AUTH LOGIN as user. True when the server accepted the message; otherwise
/// false, with error set to why (error is left alone on success). Texts travel as UTF-8.
KX_API bool kxSendEmail(wxString subject, wxString message, wxString from, wxString to,
                        wxString host, wxString user, wxString password, wxString& error, int port);

/// The same, with the TLS choice, the trusted certificates and the time-out of options.
KX_API bool kxSendEmail(wxString subject, wxString message, wxString from, wxString to,
                        wxString host, wxString user, wxString password, wxString& error, int port,
                        const mail::Options& options);

#endif
