// A real SMTP server for the tests: Debian's aiosmtpd, run by the fixture script
// tests/mail/kxSmtpServer.py on 127.0.0.1 with AUTH LOGIN (user "kxUser", password "kxSecret").
// It stores the messages it accepts; the test reads them back.
#ifndef KXTESTS_KXTESTSMTPSERVER_H
#define KXTESTS_KXTESTSMTPSERVER_H

#include "support/kxTestSupport.h"

#include <string>
#include <sys/types.h>
#include <vector>

struct kxTestStoredMail
{
    std::string m_from;
    std::vector<std::string> m_to;
    std::string m_data; // the message as received, without the closing dot line
};

class kxTestSmtpServer
{
public:
    // arguments: the script's options (--starttls CERT KEY, --implicit CERT KEY, --refuse-login,
    // --no-starttls-offer, --split, --drop-at COMMAND).
    explicit kxTestSmtpServer(const std::vector<std::string>& arguments = {});
    ~kxTestSmtpServer();
    kxTestSmtpServer(const kxTestSmtpServer&) = delete;
    kxTestSmtpServer& operator=(const kxTestSmtpServer&) = delete;

    bool IsOk() const { return m_port > 0; }
    int Port() const { return m_port; }

    // The index-th message accepted (from 0), waiting up to ms for it; false when none came.
    bool WaitForMail(size_t index, kxTestStoredMail& mail, int ms) const;
    // How many messages were accepted so far.
    size_t MailCount() const;
    // The commands received so far, one per line as "EHLO name", "AUTH LOGIN", "MAIL FROM:<a>".
    std::vector<std::string> Commands() const;

private:
    kxTestTempDir m_store;
    pid_t m_pid = -1;
    int m_input = -1;
    int m_port = 0;
};

#endif
