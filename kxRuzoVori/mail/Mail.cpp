// The plain-text message and its text form.
#include "kxRuzoVori/mail/Mail.h"

namespace mail
{
Mail::Mail(const std::string& from, const std::string& to)
    : m_from(from), m_to(to), m_subject("libsmtp default subject")
{
}

Mail::~Mail() = default;

void Mail::setSubject(const std::string& subject)
{
    m_subject = subject;
}

void Mail::setMessage(const std::string& message)
{
    m_message = message;
}

std::string Mail::getData() const
{
    const std::string text = "From: <" + m_from + ">\nTo: <" + m_to + ">\nSubject: " + m_subject +
                             "\n\n" + m_message + "\n";
    std::string data;
    data.reserve(text.size() + text.size() / 32 + 8);
    for (const char c : text)
    {
        if (c == '\n')
            data += '\r';
        data += c;
    }
    return data;
}
} // namespace mail
