// Sending the crash report mail to a local test server, and the texts of its failures.
#include "kxRuzoVori/crash/kxSendEmail.h"

#include "support/kxTestCertificates.h"
#include "support/kxTestListener.h"
#include "support/kxTestSmtpServer.h"

#include <gtest/gtest.h>

namespace
{
const wxString kFailure = wxS("Can't send e-mail. Maybe your internet connection is broken or "
                              "firewall blocks this mail.\nMessage: ");

bool Send(int port, const wxString& password, wxString& error,
          const mail::Options& options = mail::Options())
{
    return kxSendEmail(wxS("Gr\u00FC\u00DFe"), wxS("K\u00F6rper \U0001F600\nzwei"),
                       wxS("sender@example.org"), wxS("recipient@example.org"), wxS("localhost"),
                       wxS("kxUser"), password, error, port, options);
}
} // namespace

TEST(kxSendEmail, DeliversUtf8AndLeavesTheErrorTextAlone)
{
    kxTestSmtpServer server;
    ASSERT_TRUE(server.IsOk());
    wxString error = wxS("kept");
    ASSERT_TRUE(Send(server.Port(), wxS("kxSecret"), error));
    EXPECT_EQ(error, wxS("kept"));
    kxTestStoredMail stored;
    ASSERT_TRUE(server.WaitForMail(0, stored, 10000));
    EXPECT_EQ(stored.m_from, "sender@example.org");
    EXPECT_EQ(stored.m_data, "From: <sender@example.org>\r\nTo: <recipient@example.org>\r\n"
                             "Subject: Gr\xC3\xBC\xC3\x9F\x65\r\n\r\n"
                             "K\xC3\xB6rper \xF0\x9F\x98\x80\r\nzwei\r\n");

    ASSERT_TRUE(kxTestGetCertificates().IsOk());
    kxTestSmtpServer tls({"--starttls", kxTestGetCertificates().Trusted().m_certificate,
                          kxTestGetCertificates().Trusted().m_key});
    ASSERT_TRUE(tls.IsOk());
    mail::Options options;
    options.m_tls = mail::Options::StartTls;
    options.m_caFile = kxTestGetCertificates().CaFile();
    ASSERT_TRUE(Send(tls.Port(), wxS("kxSecret"), error, options));
    ASSERT_TRUE(tls.WaitForMail(0, stored, 10000));
    EXPECT_EQ(error, wxS("kept"));
}

TEST(kxSendEmail, FailuresBecomeReadableTexts)
{
    kxTestSmtpServer server;
    ASSERT_TRUE(server.IsOk());
    wxString error;
    EXPECT_FALSE(Send(server.Port(), wxS("guess"), error));
    EXPECT_EQ(error, kFailure + wxS("Expected SMTP status 235 but received status 535 (535 5.7.8 "
                                    "Authentication credentials invalid\r\n)\n"));

    EXPECT_FALSE(Send(0, wxS("kxSecret"), error));
    EXPECT_TRUE(error.StartsWith(kFailure + wxS("Can't connect with SMTP server: #"))) << error;

    // A reply that is not UTF-8 is still shown, its stray bytes as octal escapes.
    kxTestListener garbage("\xFF\xFE bad\r\n");
    EXPECT_FALSE(Send(garbage.Port(), wxS("kxSecret"), error));
    EXPECT_TRUE(error.StartsWith(kFailure + wxS("Expected SMTP status 250 but received status -1 "
                                                "(\\377\\376 bad\r\n")))
        << error;
}
