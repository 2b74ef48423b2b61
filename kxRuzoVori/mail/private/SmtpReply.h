// Reading an SMTP server's replies: the status code at the start of a reply, where a whole
// (possibly multi-line) reply ends in the bytes received so far, and the extensions an EHLO
// reply announces. Internal to the library.
#ifndef KXRUZOVORI_MAIL_PRIVATE_SMTPREPLY_H
#define KXRUZOVORI_MAIL_PRIVATE_SMTPREPLY_H

#include <cstddef>
#include <string>

namespace mail
{
// The decimal number at the start of text, read as a formatted integer (leading white space
// skipped, reading stops at the first non-digit, so "250-" and "250 " both give 250); -1 when no
// integer can be read.
int ParseReplyCode(const std::string& text);

// The length of the first whole reply at the start of size bytes: its lines up to and including
// the first one that does not continue (a continuing line has a hyphen after its three-digit
// code). Lines end with a line feed, with or without a carriage return before it. 0 while the
// reply is not complete.
size_t CompleteReplyLength(const char* data, size_t size);

// True when a line after the first of an EHLO reply announces the extension keyword (compared
// without regard to case).
bool ReplyHasExtension(const std::string& reply, const std::string& keyword);
} // namespace mail

#endif
