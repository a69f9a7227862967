#include "listener.h"

#include "client_session.h"

#include <QDebug>
#include <QTcpSocket>

Listener::Listener(PointStore* store, QObject* parent)
    : QObject(parent)
    , store_(store)
{
    connect(&server_, &QTcpServer::newConnection, this, &Listener::accept);
}

bool Listener::listen(const QHostAddress& address, quint16 port, QString* error)
{
    if (server_.listen(address, port))
        return true;
    *error = server_.errorString();
    return false;
}

void Listener::accept()
{
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        auto* session = new ClientSession(socket, store_, this);
        connect(session, &ClientSession::closed, this, &Listener::close);
        ++clients_;
        qInfo().noquote() << QStringLiteral("%1 connected").arg(session->peer());
    }
}

void Listener::close(ClientSession* session)
{
    --clients_;
    qInfo().noquote() << QStringLiteral("%1 disconnected").arg(session->peer());
    // The session's socket is still emitting.
    session->deleteLater();
}
