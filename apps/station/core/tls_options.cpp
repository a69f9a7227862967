#include "tls_options.h"

#include "pem_files.h"

#include <QCommandLineParser>

using namespace tavimorio;

TlsOptions::TlsOptions()
    : ca_(QStringLiteral("tls-ca"), tr("用TLS连接数据服务器, 只信任该PEM文件中的证书颁发机构。"), QStringLiteral("file"))
    , certificate_(QStringLiteral("tls-cert"), tr("服务器要求时出示的本控制台PEM证书。"), QStringLiteral("file"))
    , key_(QStringLiteral("tls-key"), tr("--tls-cert 证书的PEM私钥(未加密)。"), QStringLiteral("file"))
{
}

void TlsOptions::addTo(QCommandLineParser& parser) const
{
    parser.addOptions({ca_, certificate_, key_});
}

bool TlsOptions::read(const QCommandLineParser& parser, QString* error)
{
    if (!parser.isSet(ca_)) {
        if (parser.isSet(certificate_) || parser.isSet(key_)) {
            *error = tr("--tls-cert 和 --tls-key 需要 --tls-ca");
            return false;
        }
        return true;
    }
    if (parser.isSet(certificate_) != parser.isSet(key_)) {
        *error = tr("--tls-cert 和 --tls-key 需同时给出");
        return false;
    }
    const auto failed = [&](PemFault fault, const QCommandLineOption& option) {
        const QString path = parser.value(option);
        const QString name = QStringLiteral("--") + option.names().constFirst();
        if (fault == PemFault::Unreadable)
            *error = tr("%1 %2: 无法读取").arg(name, path);
        else if (fault == PemFault::NoCertificate)
            *error = tr("%1 %2: 其中没有PEM证书").arg(name, path);
        else if (fault == PemFault::NoKey)
            *error = tr("%1 %2: 其中没有未加密的PEM私钥").arg(name, path);
        return fault != PemFault::None;
    };
    if (failed(readPemCertificates(parser.value(ca_), &settings.caCertificates), ca_))
        return false;
    if (!parser.isSet(certificate_))
        return true;
    QList<QSslCertificate> own;
    if (failed(readPemCertificates(parser.value(certificate_), &own), certificate_)
        || failed(readPemKey(parser.value(key_), &settings.privateKey), key_))
        return false;
    settings.certificate = own.constFirst();
    return true;
}
