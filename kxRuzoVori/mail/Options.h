#ifndef KXRUZOVORI_MAIL_OPTIONS_H
#define KXRUZOVORI_MAIL_OPTIONS_H

#include <string>

namespace mail
{
/// How the SMTP client reaches its server beyond the plain dialogue: whether the connection is
/// protected by TLS, which certificates are trusted for the server, and how long any wait may last.
struct Options
{
    /// Whether and when the connection is protected by TLS.
    enum Tls
    {
        /// The dialogue in the clear, byte for byte as it always was.
        NoTls,
        /// STARTTLS after the first EHLO (the server must offer it), then EHLO again inside TLS;
        /// usually port 587.
        StartTls,
        /// TLS from the first byte; usually port 465.
        ImplicitTls
    };

    /// In the clear unless the host chooses.
    Tls m_tls = NoTls;
    /// A PEM file of the certificates trusted for the server (UTF-8 path); empty: the system's
    /// trust store. The certificate must also be made out for the host name the client was given.
    std::string m_caFile;
    /// Milliseconds that connecting, the TLS handshake and each reply may take.
    int m_timeout = 30000;
};
} // namespace mail

#endif
