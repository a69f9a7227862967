#pragma once

// Reading the PEM files a TLS connection needs, for the data server and the
// applications alike; each caller words the fault in its own language.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>

namespace tavimorio {

/// Why a PEM file cannot be used.
enum class PemFault {
    None,          ///< read
    Unreadable,    ///< the file cannot be opened or read
    NoCertificate, ///< no certificate in it
    NoKey,         ///< no unencrypted RSA, EC or DSA private key in it
};

/// The bytes of \a path; false when it cannot be read.
inline bool readPemFile(const QString& path, QByteArray* bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

/// Every certificate in \a path, in file order (a certificate, then its chain).
inline PemFault readPemCertificates(const QString& path, QList<QSslCertificate>* certificates)
{
    QByteArray bytes;
    if (!readPemFile(path, &bytes))
        return PemFault::Unreadable;
    *certificates = QSslCertificate::fromData(bytes, QSsl::Pem);
    return certificates->isEmpty() ? PemFault::NoCertificate : PemFault::None;
}

/// The private key in \a path, whichever of the usual algorithms it uses.
inline PemFault readPemKey(const QString& path, QSslKey* key)
{
    QByteArray bytes;
    if (!readPemFile(path, &bytes))
        return PemFault::Unreadable;
    for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec, QSsl::Dsa}) {
        *key = QSslKey(bytes, algorithm, QSsl::Pem, QSsl::PrivateKey);
        if (!key->isNull())
            return PemFault::None;
    }
    return PemFault::NoKey;
}

} // namespace tavimorio
