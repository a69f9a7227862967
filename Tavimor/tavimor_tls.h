#pragma once

#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>

/**
 * How a Tavimor client reaches a data server that speaks TLS (Tavimor::setTls()).
 *
 * The server must present a certificate issued by one of caCertificates (the
 * system's authorities are not consulted) for peerName; a server whose
 * certificate does not verify is refused during the handshake. The client
 * presents certificate and privateKey to a server that asks for one.
 * Certificates and keys may be read from PEM files with QSslCertificate and QSslKey.
 */
struct TavimorTls {
    /// Authorities whose server certificates are trusted; empty: plain TCP.
    QList<QSslCertificate> caCertificates;
    /// The client's own certificate; null: none is presented.
    QSslCertificate certificate;
    /// The key of certificate.
    QSslKey privateKey;
    /// Name the server's certificate must carry (a DNS name or an IP address
    /// among its subject alternative names); empty: the address connected to.
    QString peerName;
};
