// The text of a mail message as it goes on the wire.
#include "kxRuzoVori/mail/Mail.h"

#include <gtest/gtest.h>

TEST(MailText, HeaderLinesEmptyLineAndBodyEndedByCrLf)
{
    mail::Mail message("from@example.org", "to@example.org");
    EXPECT_EQ(message.getData(), "From: <from@example.org>\r\nTo: <to@example.org>\r\n"
                                 "Subject: libsmtp default subject\r\n\r\n\r\n");

    message.setSubject("Report");
    message.setMessage("first\nsecond");
    EXPECT_EQ(message.getData(), "From: <from@example.org>\r\nTo: <to@example.org>\r\n"
                                 "Subject: Report\r\n\r\nfirst\r\nsecond\r\n");
}

TEST(MailText, BodyBytesGoAsTheyAreBesideTheLineFeeds)
{
    mail::Mail message("a", "b");
    // A carriage return of its own is kept, dot lines are not doubled, bytes are not encoded.
    message.setMessage(std::string("crlf\r\n.dot\n\xC3\xBC\0z", 15));
    const std::string data = message.getData();
    EXPECT_EQ(data.substr(data.find("\r\n\r\n") + 4),
              std::string("crlf\r\r\n.dot\r\n\xC3\xBC\0z\r\n", 19));
}
