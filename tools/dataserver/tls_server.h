#pragma once

#include <QSslConfiguration>
#include <QTcpServer>

/**
 * A QTcpServer whose connections are QSslSockets carrying the server's TLS
 * configuration once setTlsConfiguration() gave it one; whoever takes a
 * connection starts its handshake (QSslSocket::startServerEncryption()), after
 * connecting to its signals. Without a configuration it hands out plain
 * QTcpSockets as QTcpServer does.
 */
class TlsServer : public QTcpServer
{
    Q_OBJECT

public:
    using QTcpServer::QTcpServer;

    /// Applies to connections accepted from now on; a null configuration turns TLS off.
    void setTlsConfiguration(const QSslConfiguration& configuration) { configuration_ = configuration; }

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    QSslConfiguration configuration_;
};
