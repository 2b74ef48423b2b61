#ifndef KXRUZOVORI_MAIL_MAIL_H
#define KXRUZOVORI_MAIL_MAIL_H

#include "kxRuzoVori/kxExport.h"

#include <string>

namespace mail
{
/// One plain-text message from one sender to one recipient, and the text it travels as: three
/// header lines, an empty line and the body, every line ended by CR LF.
class KX_API Mail
{
public:
    /// Addresses without angle brackets; the subject starts as "libsmtp default subject".
    Mail(const std::string& from, const std::string& to);
    ~Mail();

    /// The subject line.
    void setSubject(const std::string& subject);
    /// The body, sent as it is; every line feed becomes CR LF.
    void setMessage(const std::string& message);

    /// "From: <from>", "To: <to>", "Subject: subject", an empty line and the body. Every line
    /// feed, the body's included, becomes CR LF; nothing else is added or escaped.
    std::string getData() const;

private:
    friend class Smtp;

    std::string m_from;
    std::string m_to;
    std::string m_subject;
    std::string m_message;
};
} // namespace mail

#endif
