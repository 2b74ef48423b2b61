// Reading SMTP replies: codes, continuation lines and extensions.
#include "kxRuzoVori/mail/private/SmtpReply.h"

#include <gtest/gtest.h>

#include <cstring>

using mail::CompleteReplyLength;
using mail::ParseReplyCode;
using mail::ReplyHasExtension;

namespace
{
size_t Complete(const std::string& text)
{
    return CompleteReplyLength(text.data(), text.size());
}
} // namespace

TEST(SmtpReply, CodeIsTheLeadingNumber)
{
    EXPECT_EQ(ParseReplyCode("250 OK\r\n"), 250);
    EXPECT_EQ(ParseReplyCode("250-first line\r\n250 last\r\n"), 250);
    EXPECT_EQ(ParseReplyCode(" \t354 go ahead"), 354);
    EXPECT_EQ(ParseReplyCode("235"), 235);
    EXPECT_EQ(ParseReplyCode("+25"), 25);
    EXPECT_EQ(ParseReplyCode("OK 250"), -1);
    EXPECT_EQ(ParseReplyCode(""), -1);
    EXPECT_EQ(ParseReplyCode("99999999999999999999 too big"), -1);
}

TEST(SmtpReply, WholeReplyEndsWithTheFirstLineThatDoesNotContinue)
{
    EXPECT_EQ(Complete("250 OK\r\n"), 8u);
    EXPECT_EQ(Complete("250 OK\r\n354 next"), 8u);
    EXPECT_EQ(Complete("250-a\r\n250-b\r\n250 c\r\nextra"), 21u);
    EXPECT_EQ(Complete("250-a\n250 b\n"), 12u);
    EXPECT_EQ(Complete("250\r\n"), 5u);
    // Not complete yet.
    EXPECT_EQ(Complete(""), 0u);
    EXPECT_EQ(Complete("250 OK"), 0u);
    EXPECT_EQ(Complete("250-a\r\n250-b\r\n"), 0u);
    EXPECT_EQ(Complete("250-a\r\n250 b"), 0u);
    // A line too short to continue ends the reply, whatever it holds.
    EXPECT_EQ(Complete("250-a\r\nxy\r\n"), 11u);
    EXPECT_EQ(Complete("\n"), 1u);
}

TEST(SmtpReply, ExtensionsAreTheFirstWordsOfTheLinesAfterTheGreeting)
{
    const std::string hello = "250-mail.example.org Hello\r\n250-SIZE 1000\r\n250-starttls\r\n"
                              "250 AUTH LOGIN PLAIN\r\n";
    EXPECT_TRUE(ReplyHasExtension(hello, "STARTTLS"));
    EXPECT_TRUE(ReplyHasExtension(hello, "AUTH"));
    EXPECT_TRUE(ReplyHasExtension(hello, "size"));
    EXPECT_FALSE(ReplyHasExtension(hello, "LOGIN"));
    EXPECT_FALSE(ReplyHasExtension(hello, "mail.example.org"));
    EXPECT_FALSE(ReplyHasExtension("250-x\r\n250 STARTTLSX\r\n", "STARTTLS"));
    EXPECT_FALSE(ReplyHasExtension("250 STARTTLS\r\n", "STARTTLS"));
    EXPECT_TRUE(ReplyHasExtension("250-x\n250 STARTTLS", "STARTTLS"));
}
