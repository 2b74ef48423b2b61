// The one failure type of the SMTP client: a narrow message saying what went wrong, ended by a
// line feed. Thrown by value, caught by reference.
#ifndef KXRUZOVORI_MAIL_EXCEPTION_H
#define KXRUZOVORI_MAIL_EXCEPTION_H

#include "kxRuzoVori/kxExport.h"

#include <exception>
#include <string>

namespace mail
{
class KX_API Exception : public std::exception
{
public:
    explicit Exception(const std::string& message);

    const std::string& getMessage() const { return m_message; }
    const char* what() const noexcept override;

private:
    std::string m_message;
};
} // namespace mail

#endif
