// Certificates for the TLS tests, made afresh with the openssl command line in a scratch folder:
// a test CA, a server certificate it signs for localhost and 127.0.0.1, one it signs for another
// host only, and a self-signed one for localhost that no CA vouches for.
#ifndef KXTESTS_KXTESTCERTIFICATES_H
#define KXTESTS_KXTESTCERTIFICATES_H

#include "support/kxTestSupport.h"

#include <string>

struct kxTestKeyPair
{
    std::string m_certificate; // PEM file paths
    std::string m_key;
};

class kxTestCertificates
{
public:
    kxTestCertificates();

    bool IsOk() const { return m_ok; }
    const std::string& CaFile() const { return m_caFile; }
    const kxTestKeyPair& Trusted() const { return m_trusted; }
    const kxTestKeyPair& OtherHost() const { return m_otherHost; }
    const kxTestKeyPair& SelfSigned() const { return m_selfSigned; }

private:
    kxTestTempDir m_dir;
    bool m_ok = false;
    std::string m_caFile;
    kxTestKeyPair m_trusted;
    kxTestKeyPair m_otherHost;
    kxTestKeyPair m_selfSigned;
};

// One set per test program, made on first use.
const kxTestCertificates& kxTestGetCertificates();

#endif
