#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

class ClientSession;
class PointStore;

/// Accepts clients and gives each a session on the shared point store.
class Listener : public QObject
{
    Q_OBJECT

public:
    explicit Listener(PointStore* store, QObject* parent = nullptr);

    /// Starts listening; port 0 picks a free port. On failure `error` says why.
    bool listen(const QHostAddress& address, quint16 port, QString* error);
    /// The port listened on.
    quint16 port() const { return server_.serverPort(); }
    /// Clients connected now.
    int clientCount() const { return clients_; }

private:
    void accept();
    void close(ClientSession* session);

    QTcpServer server_;
    PointStore* store_;
    int clients_ = 0;
};
