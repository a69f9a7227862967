#include "tls_server.h"

#include <QSslSocket>

void TlsServer::incomingConnection(qintptr descriptor)
{
    if (configuration_.isNull()) {
        QTcpServer::incomingConnection(descriptor);
        return;
    }
    auto* socket = new QSslSocket(this);
    socket->setSocketDescriptor(descriptor);
    socket->setSslConfiguration(configuration_);
    addPendingConnection(socket);
}
