// The SMTP reply reader on arbitrary bytes: where a whole reply ends must not depend on how the
// bytes arrive, and the status code must be the one an independent reading finds.
#include "kxRuzoVori/mail/private/SmtpReply.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
// The leading decimal integer as a formatted stream read finds it: white space skipped, an
// optional sign, digits; -1 when there are none or the number does not fit.
int ReferenceCode(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const size_t digits = i;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return -1;
    }
    if (i == digits)
        return -1;
    value = negative ? -value : value;
    return value < INT_MIN || value > INT_MAX ? -1 : static_cast<int>(value);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // An exact-size copy, so reading one byte too far is caught.
    const std::vector<char> bytes(data + 1, data + size);
    const size_t whole = mail::CompleteReplyLength(bytes.data(), bytes.size());
    if (whole > bytes.size() || (whole > 0 && bytes[whole - 1] != '\n'))
        abort();

    // The same bytes arriving in two pieces: the reply is found once it is all there.
    const size_t cut = data[0] % (bytes.size() + 1);
    const size_t early = mail::CompleteReplyLength(bytes.data(), cut);
    if (early != (whole > 0 && whole <= cut ? whole : 0))
        abort();

    const std::string text(bytes.data(), whole > 0 ? whole : bytes.size());
    if (mail::ParseReplyCode(text) != ReferenceCode(text))
        abort();

    // Extensions: a fixed keyword and one the input chooses.
    mail::ReplyHasExtension(text, "STARTTLS");
    const std::string keyword(bytes.begin() + static_cast<std::ptrdiff_t>(cut), bytes.end());
    if (!keyword.empty() && keyword.find_first_of(" \r\n") == std::string::npos &&
        !mail::ReplyHasExtension("250-host\r\n250 " + keyword + "\r\n", keyword))
        abort();
    return 0;
}
