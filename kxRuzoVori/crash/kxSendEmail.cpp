// The e-mail function over the SMTP client.
#include "kxRuzoVori/crash/kxSendEmail.h"

#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/mail/Smtp.h"

#include <wx/strconv.h>

#include <string>

namespace
{
std::string Narrow(const wxString& text)
{
    return text.utf8_string();
}
} // namespace

bool kxSendEmail(wxString subject, wxString message, wxString from, wxString to, wxString host,
                 wxString user, wxString password, wxString& error, int port)
{
    return kxSendEmail(subject, message, from, to, host, user, password, error, port,
                       mail::Options());
}

bool kxSendEmail(wxString subject, wxString message, wxString from, wxString to, wxString host,
                 wxString user, wxString password, wxString& error, int port,
                 const mail::Options& options)
{
    try
    {
        mail::Smtp smtp(Narrow(host), port, Narrow(user), Narrow(password), options);
        mail::Mail mail(Narrow(from), Narrow(to));
        mail.setMessage(Narrow(message));
        mail.setSubject(Narrow(subject));
        if (smtp.sendMail(mail))
            return true;
        error = kxTranslate(wxS("Can't send e-mail. Maybe your internet connection is broken or "
                                "firewall blocks this e-mail."));
    }
    catch (const mail::Exception& failure)
    {
        // A server's reply quoted in the message may hold bytes that are not UTF-8: they are
        // shown as octal escapes rather than losing the whole text.
        const wxMBConvUTF8 lenient(wxMBConvUTF8::MAP_INVALID_UTF8_TO_OCTAL);
        error = kxTranslate(wxS("Can't send e-mail. Maybe your internet connection is broken or "
                                "firewall blocks this mail.\nMessage: ")) +
                wxString(failure.getMessage().c_str(), lenient, failure.getMessage().size());
    }
    catch (...)
    {
        error = kxTranslate(wxS("Unknown e-mail error."));
    }
    return false;
}
