// SMTP delivery to a local test server, in the clear and over TLS, with servers that misbehave.
#include "kxRuzoVori/mail/Smtp.h"

#include "support/kxTestCertificates.h"
#include "support/kxTestListener.h"
#include "support/kxTestSmtpServer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace
{
using Commands = std::vector<std::string>;

mail::Mail Message()
{
    mail::Mail message("sender@example.org", "recipient@example.org");
    message.setSubject("Greetings");
    message.setMessage("Hello,\nthis is the body.");
    return message;
}

// The message of the exception sendMail throws.
std::string Failure(mail::Smtp& smtp, const mail::Mail& message = Message())
{
    try
    {
        smtp.sendMail(message);
    }
    catch (const mail::Exception& failure)
    {
        EXPECT_STREQ(failure.what(), failure.getMessage().c_str());
        return failure.getMessage();
    }
    return "no exception";
}

mail::Options Tls(mail::Options::Tls tls)
{
    mail::Options options;
    options.m_tls = tls;
    options.m_caFile = kxTestGetCertificates().CaFile();
    return options;
}

std::vector<std::string> Serving(const char* option, const kxTestKeyPair& pair)
{
    return {option, pair.m_certificate, pair.m_key};
}

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

} // namespace

TEST(SmtpDelivery, MessageAndEnvelopeArriveByteForByte)
{
    kxTestSmtpServer server;
    ASSERT_TRUE(server.IsOk());
    mail::Smtp smtp("localhost", server.Port(), "kxUser", "kxSecret");
    mail::Mail message = Message();
    // A body with characters beyond ASCII, a line that starts with a dot, and CR LF of its own.
    message.setMessage("Gr\xC3\xBC\xC3\x9F\x65 \xF0\x9F\x98\x80\n.dot line\r\nlast");
    ASSERT_TRUE(smtp.sendMail(message));

    kxTestStoredMail stored;
    ASSERT_TRUE(server.WaitForMail(0, stored, 10000));
    EXPECT_EQ(stored.m_from, "sender@example.org");
    EXPECT_EQ(stored.m_to, std::vector<std::string>{"recipient@example.org"});
    // The server takes the leading dot off again, as it must for a dot-stuffing client.
    std::string expected = message.getData();
    expected.erase(expected.find(".dot"), 1);
    EXPECT_EQ(stored.m_data, expected);
    const Commands dialogue = {"EHLO localhost", "AUTH LOGIN", "MAIL FROM: <sender@example.org>",
                               "RCPT TO: <recipient@example.org>", "DATA"};
    const Commands commands = server.Commands();
    ASSERT_GE(commands.size(), dialogue.size());
    EXPECT_EQ(Commands(commands.begin(), commands.begin() + dialogue.size()), dialogue);

    // One client sends one message after the other, each over a connection of its own.
    ASSERT_TRUE(smtp.sendMail(Message()));
    ASSERT_TRUE(server.WaitForMail(1, stored, 10000));
    EXPECT_EQ(stored.m_data, Message().getData());
}

TEST(SmtpDelivery, WrongReplyEndsTheDialogueWithoutAnotherCommand)
{
    kxTestSmtpServer server;
    ASSERT_TRUE(server.IsOk());
    mail::Smtp wrongPassword("localhost", server.Port(), "kxUser", "guess");
    EXPECT_EQ(Failure(wrongPassword), "Expected SMTP status 235 but received status 535 (535 5.7.8 "
                                      "Authentication credentials invalid\r\n)\n");
    EXPECT_EQ(server.Commands(), (Commands{"EHLO localhost", "AUTH LOGIN"}));

    kxTestSmtpServer noAuth({"--refuse-login"});
    ASSERT_TRUE(noAuth.IsOk());
    mail::Smtp refused("localhost", noAuth.Port(), "kxUser", "kxSecret");
    EXPECT_EQ(Failure(refused), "Expected SMTP status 334 but received status 504 (504 5.5.4 "
                                "Unrecognized authentication type\r\n)\n");
    EXPECT_EQ(noAuth.Commands(), (Commands{"EHLO localhost", "AUTH LOGIN"}));
    EXPECT_EQ(server.MailCount() + noAuth.MailCount(), 0u);
}

TEST(SmtpDelivery, ServerThatHangsUpMidwayOrIsNotThere)
{
    kxTestSmtpServer server({"--drop-at", "MAIL"});
    ASSERT_TRUE(server.IsOk());
    mail::Smtp smtp("127.0.0.1", server.Port(), "kxUser", "kxSecret");
    // The closed connection reads as an empty reply, which has no code.
    EXPECT_EQ(Failure(smtp), "Expected SMTP status 250 but received status -1 ()\n");

    int port = 0;
    {
        kxTestListener closed;
        port = closed.Port();
    }
    mail::Smtp nobody("127.0.0.1", port, "kxUser", "kxSecret");
    EXPECT_EQ(Failure(nobody),
              "Can't connect with SMTP server: #" + std::to_string(ECONNREFUSED) + "\n");

    mail::Smtp unknown("kx-no-such-host..invalid", 25, "kxUser", "kxSecret");
    EXPECT_TRUE(StartsWith(Failure(unknown),
                           "Can't resolve SMTP server host name ,,kx-no-such-host..invalid'': "));
}

TEST(SmtpDelivery, SilentOrFloodingServerEndsInTime)
{
    mail::Options quick;
    quick.m_timeout = 200;
    kxTestListener silent;
    mail::Smtp waiting("127.0.0.1", silent.Port(), "kxUser", "kxSecret", quick);
    EXPECT_EQ(Failure(waiting), "Can't receive from socket: #" + std::to_string(ETIMEDOUT) + "\n");

    // A reply that never ends is cut off at a bound, not gathered without end.
    kxTestListener flooding(std::string(4000, '-').insert(0, "250-").append("\r\n"));
    mail::Options whole = Tls(mail::Options::StartTls);
    whole.m_timeout = 10000;
    mail::Smtp flooded("127.0.0.1", flooding.Port(), "kxUser", "kxSecret", whole);
    EXPECT_EQ(Failure(flooded), "Can't receive from socket: #" + std::to_string(EMSGSIZE) + "\n");
}

TEST(SmtpDelivery, MultiLineReplyInPiecesIsReadWholeOnlyWithTls)
{
    // One receive per command: the rest of the EHLO reply answers the next command.
    kxTestSmtpServer split({"--split"});
    ASSERT_TRUE(split.IsOk());
    mail::Smtp plain("localhost", split.Port(), "kxUser", "kxSecret");
    EXPECT_TRUE(
        StartsWith(Failure(plain), "Expected SMTP status 334 but received status 250 (250-"));

    std::vector<std::string> arguments = Serving("--starttls", kxTestGetCertificates().Trusted());
    arguments.push_back("--split");
    kxTestSmtpServer splitTls(arguments);
    ASSERT_TRUE(splitTls.IsOk());
    mail::Smtp tls("localhost", splitTls.Port(), "kxUser", "kxSecret",
                   Tls(mail::Options::StartTls));
    EXPECT_TRUE(tls.sendMail(Message()));
}

TEST(SmtpTls, StartTlsAndImplicitTlsDeliver)
{
    ASSERT_TRUE(kxTestGetCertificates().IsOk());
    const kxTestKeyPair& trusted = kxTestGetCertificates().Trusted();
    kxTestSmtpServer starttls(Serving("--starttls", trusted));
    ASSERT_TRUE(starttls.IsOk());
    mail::Smtp smtp("localhost", starttls.Port(), "kxUser", "kxSecret",
                    Tls(mail::Options::StartTls));
    ASSERT_TRUE(smtp.sendMail(Message()));
    kxTestStoredMail stored;
    ASSERT_TRUE(starttls.WaitForMail(0, stored, 10000));
    EXPECT_EQ(stored.m_data, Message().getData());
    const Commands commands = starttls.Commands();
    ASSERT_GE(commands.size(), 4u);
    EXPECT_EQ(Commands(commands.begin(), commands.begin() + 4),
              (Commands{"EHLO localhost", "STARTTLS", "EHLO localhost", "AUTH LOGIN"}));

    kxTestSmtpServer implicit(Serving("--implicit", trusted));
    ASSERT_TRUE(implicit.IsOk());
    mail::Smtp direct("localhost", implicit.Port(), "kxUser", "kxSecret",
                      Tls(mail::Options::ImplicitTls));
    ASSERT_TRUE(direct.sendMail(Message()));
    ASSERT_TRUE(implicit.WaitForMail(0, stored, 10000));
    EXPECT_EQ(stored.m_data, Message().getData());
}

TEST(SmtpTls, FailuresSendNothingInTheClear)
{
    ASSERT_TRUE(kxTestGetCertificates().IsOk());
    const kxTestCertificates& certificates = kxTestGetCertificates();
    const Commands beforeTls = {"EHLO localhost", "STARTTLS"};

    kxTestSmtpServer selfSigned(Serving("--starttls", certificates.SelfSigned()));
    ASSERT_TRUE(selfSigned.IsOk());
    mail::Smtp untrusted("localhost", selfSigned.Port(), "kxUser", "kxSecret",
                         Tls(mail::Options::StartTls));
    EXPECT_TRUE(StartsWith(Failure(untrusted),
                           "Can't start TLS with SMTP server: untrusted certificate ("));
    EXPECT_EQ(selfSigned.Commands(), beforeTls);

    kxTestSmtpServer otherHost(Serving("--starttls", certificates.OtherHost()));
    ASSERT_TRUE(otherHost.IsOk());
    mail::Smtp wrongName("localhost", otherHost.Port(), "kxUser", "kxSecret",
                         Tls(mail::Options::StartTls));
    EXPECT_TRUE(
        StartsWith(Failure(wrongName), "Can't start TLS with SMTP server: wrong host name"));
    EXPECT_EQ(otherHost.Commands(), beforeTls);

    std::vector<std::string> arguments = Serving("--starttls", certificates.Trusted());
    arguments.push_back("--no-starttls-offer");
    kxTestSmtpServer notOffered(arguments);
    ASSERT_TRUE(notOffered.IsOk());
    mail::Smtp required("localhost", notOffered.Port(), "kxUser", "kxSecret",
                        Tls(mail::Options::StartTls));
    EXPECT_EQ(Failure(required), "SMTP server does not offer STARTTLS\n");
    EXPECT_EQ(notOffered.Commands(), Commands{"EHLO localhost"});

    // The test CA is in no system store.
    kxTestSmtpServer implicit(Serving("--implicit", certificates.Trusted()));
    ASSERT_TRUE(implicit.IsOk());
    mail::Options systemStore = Tls(mail::Options::ImplicitTls);
    systemStore.m_caFile.clear();
    mail::Smtp unknownCa("localhost", implicit.Port(), "kxUser", "kxSecret", systemStore);
    EXPECT_TRUE(StartsWith(Failure(unknownCa),
                           "Can't start TLS with SMTP server: untrusted certificate ("));
    EXPECT_TRUE(implicit.Commands().empty());
    EXPECT_EQ(selfSigned.MailCount() + otherHost.MailCount() + notOffered.MailCount() +
                  implicit.MailCount(),
              0u);
}
