// The client and the reference data server over TLS, with certificates made
// by the openssl command for each run: who is served and who is refused.

#include "data_server_process.h"
#include "tavimor_fixture.h"

#include <QFile>
#include <QProcess>
#include <QSslSocket>

namespace {

enum class Refused { No, ByClient, ByServer, AtStart };

struct TlsRow {
    const char* name;
    QStringList serverArguments; // file names are completed with the certificates' folder
    const char* clientCa;        // nullptr: plain TCP
    const char* clientCertificate;
    Refused refused;
};

// A key and a certificate for 127.0.0.1 named `name`, issued by `issuer` (itself when empty).
bool makeCertificate(const QTemporaryDir& dir, const QString& name, const QString& issuer)
{
    QStringList args{"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                     "-days", "2", "-subj", "/CN=" + name, "-keyout", dir.filePath(name + ".key"),
                     "-out", dir.filePath(name + ".pem")};
    if (!issuer.isEmpty())
        args << "-addext" << "subjectAltName=IP:127.0.0.1" << "-addext" << "basicConstraints=CA:FALSE"
             << "-CA" << dir.filePath(issuer + ".pem") << "-CAkey" << dir.filePath(issuer + ".key");
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"), args);
    return openssl.waitForFinished(30000) && openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0;
}

TEST(TlsTest, ServesVerifiedPeersAndClosesTheOthers)
{
    if (!QSslSocket::supportsSsl())
        GTEST_SKIP() << "Qt has no TLS library here";
    // The certificates come from the openssl command, which a machine may
    // lack; and under user-mode emulation Qt cannot start a child at all.
    QProcess probe;
    probe.start(QStringLiteral("openssl"), {QStringLiteral("version")});
    if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        GTEST_SKIP() << "the openssl command cannot be run here";
    QTemporaryDir dir;
    for (const auto& [name, issuer] : {std::pair{"ca", ""}, {"server", "ca"}, {"client", "ca"}, {"foreign", ""},
                                      {"stranger", "foreign"}})
        ASSERT_TRUE(makeCertificate(dir, name, issuer)) << name;
    const QStringList tls{"--tls-cert", "server.pem", "--tls-key", "server.key"};
    const QStringList mutual = tls + QStringList{"--tls-ca", "ca.pem", "--tls-require-client-cert"};
    const TlsRow rows[] = {
        {"tls", tls, "ca", nullptr, Refused::No},
        {"client certificate", mutual, "ca", "client", Refused::No},
        {"plain default", {}, nullptr, nullptr, Refused::No},
        {"server of another authority", tls, "foreign", nullptr, Refused::ByClient},
        {"no client certificate", mutual, "ca", nullptr, Refused::ByServer},
        {"client of another authority", mutual, "ca", "stranger", Refused::ByServer},
        {"plain client", tls, nullptr, nullptr, Refused::ByServer},
        {"key file without a key", {"--tls-cert", "server.pem", "--tls-key", "server.pem"}, "ca", nullptr,
         Refused::AtStart},
    };
    for (const TlsRow& row : rows) {
        SCOPED_TRACE(row.name);
        DataServerProcess server("{}");
        QStringList arguments = row.serverArguments;
        for (QString& argument : arguments)
            argument = argument.contains('.') ? dir.filePath(argument) : argument;
        server.setArguments(arguments);
        if (row.refused == Refused::AtStart) {
            EXPECT_FALSE(server.start());
            EXPECT_EQ(server.waitForExit(3000), 1);
            EXPECT_TRUE(server.log().contains("--tls-key " + dir.filePath("server.pem").toUtf8())) << server.log().data();
            continue;
        }
        ASSERT_TRUE(server.start());

        Tavimor client;
        if (row.clientCa) {
            TavimorTls tls;
            tls.caCertificates = QSslCertificate::fromPath(dir.filePath(QString(row.clientCa) + ".pem"));
            if (row.clientCertificate) {
                const QString base = dir.filePath(row.clientCertificate);
                tls.certificate = QSslCertificate::fromPath(base + ".pem").value(0);
                QFile key(base + ".key");
                ASSERT_TRUE(key.open(QIODevice::ReadOnly));
                tls.privateKey = QSslKey(&key, QSsl::Ec);
            }
            client.setTls(tls);
        }
        const int connected = client.InitSvr(QStringLiteral("127.0.0.1"), server.port());
        if (row.refused == Refused::ByClient) {
            EXPECT_EQ(connected, 0);
            EXPECT_EQ(client.lastSocketError(), int(QAbstractSocket::SslHandshakeFailedError));
            EXPECT_EQ(client.state(), Tavimor::State::Unconnected);
            continue;
        }
        ASSERT_EQ(connected, 1);
        stDt value{};
        value.nTp = 1;
        value.unDt.dw = 73;
        EXPECT_GT(client.WriteDt(QStringLiteral("D1-TLS"), value), 0);
        if (row.refused == Refused::ByServer) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return client.state() == Tavimor::State::Unconnected; }, 5000));
            EXPECT_TRUE(QTest::qWaitFor([&] { return server.log().contains("closed: TLS handshake failed"); }, 5000))
                << server.log().toStdString();
            continue;
        }
        stDt readBack{};
        EXPECT_EQ(client.ReadDt(QStringLiteral("D1-TLS"), readBack), 29);
        EXPECT_EQ(readBack.unDt.dw, 73u);
        EXPECT_EQ(client.state(), Tavimor::State::Connected);
    }
}

} // namespace
