#ifndef KXRUZOVORI_MAIL_SMTP_H
#define KXRUZOVORI_MAIL_SMTP_H

#include "kxRuzoVori/kxExport.h"
#include "kxRuzoVori/mail/Exception.h"
#include "kxRuzoVori/mail/Mail.h"
#include "kxRuzoVori/mail/Options.h"

#include <memory>
#include <string>
#include <utility>

namespace mail
{
/// A small blocking SMTP client: it connects to one server, authenticates with AUTH LOGIN and
/// delivers one message per sendMail, on the calling thread. Every failure is a mail::Exception.
///
/// No wait is unbounded: connecting, the TLS handshake and each reply may take at most the
/// options' time-out (30 seconds unless the host chooses); a time-out is reported as the failed
/// connect or receive with the system's error number for a time-out. By default the dialogue runs
/// in the clear and reads each reply with one receive; a host may ask for STARTTLS or for TLS from
/// the first byte (Options), and then each reply is read whole, continuation lines included.
class KX_API Smtp
{
public:
    /// A reply: its status code (-1 when it has none) and its whole text.
    typedef std::pair<int, std::string> Reply;

    /// host is also the name announced in EHLO; port counts as 16 bits.
    Smtp(const std::string& host, int port, const std::string& user, const std::string& password);
    /// The same, reaching the server as options say (TLS, trusted certificates, time-out).
    Smtp(const std::string& host, int port, const std::string& user, const std::string& password,
         const Options& options);
    ~Smtp();
    Smtp(const Smtp&) = delete;
    Smtp& operator=(const Smtp&) = delete;

    /// Connects, greets, authenticates, sends the message and says QUIT: true when the server
    /// accepted it. A wrong reply ends the dialogue at once (no RSET, no QUIT) and is thrown.
    bool sendMail(Mail const& mail);

    /// Sends request and CR LF; with expectReply, returns the server's reply, else (-1, "").
    Reply sendRequest(const std::string& request, bool expectReply);

    /// Throws unless reply carries the expected code.
    void checkResponseCode(int expected, const Reply& reply);

private:
    struct Connection;

    void PrivateConnect();
    void PrivateStartTls();
    Reply PrivateReceive();
    Reply PrivateReceiveWhole();
    void PrivateClose();

    std::string m_host;
    int m_port;
    std::string m_user;
    std::string m_password;
    Options m_options;
    std::unique_ptr<Connection> m_connection;
};
} // namespace mail

#endif
