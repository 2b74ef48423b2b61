// Reading the status code, the extent and the extensions of SMTP replies.
#include "kxRuzoVori/mail/private/SmtpReply.h"

#include <cstring>
#include <locale>
#include <sstream>

namespace mail
{
namespace
{
bool ContinuesReply(const char* line, size_t length)
{
    return length > 3 && line[3] == '-';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

int ParseReplyCode(const std::string& text)
{
    std::istringstream stream(text);
    stream.imbue(std::locale::classic());
    int code = -1;
    if (!(stream >> code))
        code = -1;
    return code;
}

size_t CompleteReplyLength(const char* data, size_t size)
{
    size_t start = 0;
    while (start < size)
    {
        const void* feed = memchr(data + start, '\n', size - start);
        if (!feed)
            return 0;
        const size_t end = static_cast<size_t>(static_cast<const char*>(feed) - data) + 1;
        if (!ContinuesReply(data + start, end - start))
            return end;
        start = end;
    }
    return 0;
}

bool ReplyHasExtension(const std::string& reply, const std::string& keyword)
{
    size_t start = reply.find('\n');
    while (start != std::string::npos && start + 1 < reply.size())
    {
        const size_t line = start + 1;
        start = reply.find('\n', line);
        const size_t end = start == std::string::npos ? reply.size() : start;
        // "250-KEYWORD parameters" or "250 KEYWORD"
        const size_t word = line + 4;
        if (end < word + keyword.size())
            continue;
        bool same = true;
        for (size_t i = 0; i < keyword.size() && same; ++i)
            same = Lower(reply[word + i]) == Lower(keyword[i]);
        const size_t after = word + keyword.size();
        if (same && (after == end || reply[after] == ' ' || reply[after] == '\r'))
            return true;
    }
    return false;
}
} // namespace mail
