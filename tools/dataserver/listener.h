#pragma once

#include "created_points.h"
#include "log_limiter.h"
#include "server_limits.h"
#include "subscriber_index.h"
#include "tls_server.h"

#include <QHostAddress>
#include <QObject>
#include <QTimer>

class ClientSession;
class PointStore;
class QSslSocket;

/**
 * Accepts clients and gives each a session on the shared point store, hands
 * every new value to the sessions that booked it, and keeps the pool of points
 * created by writing (see CreatedPoints). At maxClients a further client is
 * accepted and closed at once, with a log line, so it learns it is not served.
 * When the system refuses a connection (out of descriptors or memory) it
 * pauses accepting and tries again a moment later, or when a client leaves,
 * instead of retrying at once. Memory a
 * client held is given back to the system shortly after it leaves, so the
 * server's size follows its clients.
 *
 * With TLS (setTls()) a client gets its session once its handshake succeeded;
 * one that fails the handshake (plain TCP, a certificate that does not verify)
 * or has not finished it within kHandshakeTimeoutMs is closed with a log line.
 * It counts against maxClients meanwhile.
 */
class Listener : public QObject
{
    Q_OBJECT

public:
    /// Time a client has to complete the TLS handshake.
    static constexpr int kHandshakeTimeoutMs = 10000;

    explicit Listener(PointStore* store, const ServerLimits& limits = ServerLimits(), QObject* parent = nullptr);
    ~Listener() override;

    /// Serves TLS with `configuration` to clients accepted from now on (a null one: plain TCP).
    void setTls(const QSslConfiguration& configuration) { server_.setTlsConfiguration(configuration); }

    /// Starts listening; port 0 picks a free port. On failure `error` says why.
    bool listen(const QHostAddress& address, quint16 port, QString* error);
    /// The port listened on.
    quint16 port() const { return server_.serverPort(); }
    /// Clients connected now.
    int clientCount() const { return clients_; }

private:
    void accept();
    void handshake(QSslSocket* socket);
    void startSession(QTcpSocket* socket);
    void acceptFailed(QAbstractSocket::SocketError error);
    void close(ClientSession* session);
    void left();
    void resume();
    void trimMemory();

    TlsServer server_;
    PointStore* store_;
    SubscriberIndex subscribers_;
    ServerLimits limits_;
    CreatedPoints created_;
    // Comings and goings apart from the listener's own state, so a crowd
    // connecting cannot hide that accepting paused.
    LogLimiter clientLog_;
    LogLimiter stateLog_;
    QTimer retry_;
    QTimer trim_;
    int clients_ = 0;
    bool paused_ = false;
};
