#include "listener.h"

#include "client_session.h"
#include "point_store.h"

#include <QSslSocket>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// Pause after the system refused a connection; a client leaving ends it sooner.
constexpr int kRetryMs = 250;
// Delay between a client leaving and giving its memory back, so that a crowd
// leaving together costs one trim.
constexpr int kTrimDelayMs = 1000;
// Connects and disconnects of all clients together.
constexpr int kClientLinesPerSecond = 10;
constexpr int kStateLinesPerSecond = 3;

} // namespace

Listener::Listener(PointStore* store, const ServerLimits& limits, QObject* parent)
    : QObject(parent)
    , store_(store)
    , limits_(limits)
    , created_(store, &subscribers_, limits.maxCreatedPoints, limits.keptPrefixes)
    , clientLog_(QStringLiteral("connections"), kClientLinesPerSecond)
    , stateLog_(QStringLiteral("listener"), kStateLinesPerSecond)
{
    // The server takes connections from the system one at a time, so a crowd
    // never holds more than one accepted descriptor ahead of its session.
    server_.setMaxPendingConnections(1);
    connect(&server_, &QTcpServer::newConnection, this, &Listener::accept);
    connect(&server_, &QTcpServer::acceptError, this, &Listener::acceptFailed);
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, &Listener::resume);
    connect(store_, &PointStore::changed, this, [this](const QByteArray& name) {
        const QSet<ClientSession*> sessions = subscribers_.of(name);
        for (ClientSession* session : sessions)
            session->pointChanged(name);
    });
    trim_.setSingleShot(true);
    trim_.setInterval(kTrimDelayMs);
    connect(&trim_, &QTimer::timeout, this, &Listener::trimMemory);
}

Listener::~Listener()
{
    // Sessions leave the subscriber index as they go, so they go before it.
    qDeleteAll(findChildren<ClientSession*>(QString(), Qt::FindDirectChildrenOnly));
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
        if (clients_ >= limits_.maxClients) {
            // Closed at once: a client left waiting in the backlog would believe
            // itself connected and hear nothing.
            clientLog_.log(QStringLiteral("%1:%2 closed: %3 clients, the limit")
                               .arg(socket->peerAddress().toString())
                               .arg(socket->peerPort())
                               .arg(clients_));
            socket->close();
            socket->deleteLater();
            continue;
        }
        ++clients_;
        if (auto* secure = qobject_cast<QSslSocket*>(socket))
            handshake(secure);
        else
            startSession(socket);
    }
}

void Listener::handshake(QSslSocket* socket)
{
    const QString peer = QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
    auto* deadline = new QTimer(socket);
    deadline->setSingleShot(true);
    const auto refuse = [this, socket, deadline, peer](const QString& why) {
        disconnect(socket, nullptr, this, nullptr);
        deadline->stop();
        clientLog_.log(QStringLiteral("%1 closed: %2").arg(peer, why));
        socket->abort();
        // It may be emitting.
        socket->deleteLater();
        left();
    };
    connect(socket, &QSslSocket::encrypted, this, [this, socket, deadline] {
        disconnect(socket, nullptr, this, nullptr);
        deadline->deleteLater();
        startSession(socket);
    });
    connect(socket, &QAbstractSocket::errorOccurred, this,
            [socket, refuse] { refuse(QStringLiteral("TLS handshake failed: %1").arg(socket->errorString())); });
    connect(deadline, &QTimer::timeout, this,
            [refuse] { refuse(QStringLiteral("no TLS handshake within %1 ms").arg(kHandshakeTimeoutMs)); });
    deadline->start(kHandshakeTimeoutMs);
    socket->startServerEncryption();
}

void Listener::startSession(QTcpSocket* socket)
{
    auto* session = new ClientSession(socket, store_, &subscribers_, &created_, limits_, this);
    connect(session, &ClientSession::closed, this, &Listener::close);
    clientLog_.log(QStringLiteral("%1 connected").arg(session->peer()));
}

void Listener::acceptFailed(QAbstractSocket::SocketError)
{
    // The server has paused itself; retrying at once would fail as fast as it can.
    paused_ = true;
    stateLog_.log(QStringLiteral("cannot accept a connection (%1): accepting paused").arg(server_.errorString()));
    retry_.start();
}

void Listener::close(ClientSession* session)
{
    clientLog_.log(QStringLiteral("%1 disconnected").arg(session->peer()));
    // The session's socket is still emitting.
    session->deleteLater();
    left();
}

void Listener::left()
{
    --clients_;
    if (!trim_.isActive())
        trim_.start();
    if (paused_) {
        retry_.stop();
        resume();
    }
}

void Listener::resume()
{
    paused_ = false;
    server_.resumeAccepting();
    stateLog_.log(QStringLiteral("%1 clients: accepting again").arg(clients_));
    // A connection accepted before the pause may still be waiting.
    accept();
}

void Listener::trimMemory()
{
#ifdef __GLIBC__
    // The allocator keeps freed blocks for reuse, and a client's many small
    // ones (bookings, points, frames) leave the heap too fragmented to shrink
    // by itself.
    malloc_trim(0);
#endif
}
