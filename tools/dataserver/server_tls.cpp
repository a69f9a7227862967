#include "server_tls.h"

#include "pem_files.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QSslSocket>

using namespace tavimorio;

namespace {

const QString kCert = QStringLiteral("tls-cert");
const QString kKey = QStringLiteral("tls-key");
const QString kCa = QStringLiteral("tls-ca");
const QString kRequireClientCert = QStringLiteral("tls-require-client-cert");

/// "--option file: what is wrong", or an empty text when nothing is.
QString faultText(PemFault fault, const QString& option, const QString& path)
{
    switch (fault) {
    case PemFault::None:
        return QString();
    case PemFault::Unreadable:
        return QStringLiteral("--%1 %2: cannot be read").arg(option, path);
    case PemFault::NoCertificate:
        return QStringLiteral("--%1 %2: no PEM certificate in it").arg(option, path);
    case PemFault::NoKey:
        return QStringLiteral("--%1 %2: no unencrypted PEM private key (RSA, EC or DSA) in it").arg(option, path);
    }
    return QString();
}

} // namespace

QList<QCommandLineOption> ServerTls::options()
{
    return {
        {kCert, QStringLiteral("Serve TLS with this PEM certificate (then its chain, if any)."), QStringLiteral("file")},
        {kKey, QStringLiteral("PEM private key of --tls-cert (not encrypted)."), QStringLiteral("file")},
        {kCa, QStringLiteral("PEM certificates of the authorities that issue client certificates."),
         QStringLiteral("file")},
        {kRequireClientCert,
         QStringLiteral("Serve only clients whose certificate an authority of --tls-ca issued.")},
    };
}

bool ServerTls::read(const QCommandLineParser& parser, QString* error)
{
    if (!parser.isSet(kCert) && !parser.isSet(kKey) && !parser.isSet(kCa) && !parser.isSet(kRequireClientCert))
        return true;
    if (!parser.isSet(kCert) || !parser.isSet(kKey)) {
        *error = QStringLiteral("TLS needs both --%1 and --%2").arg(kCert, kKey);
        return false;
    }
    if (parser.isSet(kCa) != parser.isSet(kRequireClientCert)) {
        *error = QStringLiteral("--%1 and --%2 go together").arg(kCa, kRequireClientCert);
        return false;
    }
    if (!QSslSocket::supportsSsl()) {
        *error = QStringLiteral("TLS is not available: Qt found no TLS library");
        return false;
    }
    QList<QSslCertificate> chain;
    QSslKey key;
    QList<QSslCertificate> authorities;
    *error = faultText(readPemCertificates(parser.value(kCert), &chain), kCert, parser.value(kCert));
    if (error->isEmpty())
        *error = faultText(readPemKey(parser.value(kKey), &key), kKey, parser.value(kKey));
    if (error->isEmpty() && parser.isSet(kCa))
        *error = faultText(readPemCertificates(parser.value(kCa), &authorities), kCa, parser.value(kCa));
    if (!error->isEmpty())
        return false;

    configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificateChain(chain);
    configuration.setPrivateKey(key);
    configuration.setProtocol(QSsl::TlsV1_2OrLater);
    configuration.setCaCertificates(authorities);
    configuration.setPeerVerifyMode(authorities.isEmpty() ? QSslSocket::VerifyNone : QSslSocket::VerifyPeer);
    return true;
}
