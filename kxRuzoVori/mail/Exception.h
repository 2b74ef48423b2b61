#ifndef KXRUZOVORI_MAIL_EXCEPTION_H
#define KXRUZOVORI_MAIL_EXCEPTION_H

#include "kxRuzoVori/kxExport.h"

#include <exception>
#include <string>

namespace mail
{
/// The one failure type of the SMTP client: a narrow message saying what went wrong, ended by a
/// line feed. Thrown by value, caught by reference.
class KX_API Exception : public std::exception
{
public:
    /// An exception carrying message.
    explicit Exception(const std::string& message);

    /// What went wrong, such as "Can't connect with SMTP server: #111".
    const std::string& getMessage() const { return m_message; }
    /// The message, for catchers of std::exception.
    const char* what() const noexcept override;

private:
    std::string m_message;
};
} // namespace mail

#endif
