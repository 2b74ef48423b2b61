// Test certificates made with the openssl command line.
#include "support/kxTestCertificates.h"

#include <cstdlib>

namespace
{
bool Run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

const char* const kNewKey = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
} // namespace

kxTestCertificates::kxTestCertificates()
{
    const std::string dir = m_dir.GetPath().utf8_string();
    if (dir.empty())
        return;
    m_caFile = dir + "/ca.pem";
    const std::string caKey = dir + "/ca.key";
    m_trusted = {dir + "/trusted.pem", dir + "/trusted.key"};
    m_otherHost = {dir + "/other.pem", dir + "/other.key"};
    m_selfSigned = {dir + "/self.pem", dir + "/self.key"};

    // A certificate request signed by the test CA, with the names given as alternative names.
    auto signedPair = [&](const kxTestKeyPair& pair, const std::string& names)
    {
        const std::string request = pair.m_certificate + ".csr";
        const std::string extensions = pair.m_certificate + ".ext";
        return kxTestWriteFile(wxString::FromUTF8(extensions),
                               "subjectAltName=" + names + "\nbasicConstraints=CA:FALSE\n") &&
               Run(std::string("openssl req ") + kNewKey + " -keyout " + pair.m_key + " -out " +
                   request + " -subj /CN=kxTestServer") &&
               Run("openssl x509 -req -in " + request + " -CA " + m_caFile + " -CAkey " + caKey +
                   " -CAcreateserial -days 2 -extfile " + extensions + " -out " +
                   pair.m_certificate);
    };
    m_ok = Run(std::string("openssl req -x509 ") + kNewKey + " -keyout " + caKey + " -out " +
               m_caFile + " -days 2 -subj /CN=kxTestCA" +
               " -addext basicConstraints=critical,CA:TRUE" +
               " -addext keyUsage=critical,keyCertSign,cRLSign") &&
           signedPair(m_trusted, "DNS:localhost,IP:127.0.0.1") &&
           signedPair(m_otherHost, "DNS:other.example") &&
           Run(std::string("openssl req -x509 ") + kNewKey + " -keyout " + m_selfSigned.m_key +
               " -out " + m_selfSigned.m_certificate +
               " -days 2 -subj /CN=localhost -addext subjectAltName=DNS:localhost,IP:127.0.0.1");
}

const kxTestCertificates& kxTestGetCertificates()
{
    static const kxTestCertificates certificates;
    return certificates;
}
