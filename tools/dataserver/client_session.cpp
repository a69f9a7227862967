#include "client_session.h"

#include "CIOType.h"
#include "point_store.h"

#include <QDebug>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <limits>

using namespace tavimorio;

namespace {

// Shortest refresh period honoured; clients are not allowed to ask for less.
constexpr quint32 kMinPeriodMs = 100;
// A client that stops reading is dropped before its backlog eats the server's memory.
constexpr qint64 kMaxWriteBacklog = 1 << 20;
// Reads are taken in pieces of this size: one huge read would cost a fresh
// mapping of zeroed pages every time.
constexpr qint64 kReadChunk = 64 * 1024;
// Room kept for the frames of one burst, so building them allocates nothing.
constexpr int kPendingCapacity = 64 * 1024;

} // namespace

ClientSession::ClientSession(QTcpSocket* socket, PointStore* store, QObject* parent)
    : QObject(parent)
    , socket_(socket)
    , store_(store)
    , peer_(QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort()))
{
    socket_->setParent(this);
    // Updates are small frames written as values change; with Nagle's algorithm
    // the last one of a burst waits for the client's delayed acknowledgement.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    pending_.reserve(kPendingCapacity);
    connect(socket_, &QTcpSocket::readyRead, this, &ClientSession::readFrames);
    connect(socket_, &QTcpSocket::disconnected, this, [this] { emit closed(this); });
    connect(store_, &PointStore::changed, this, &ClientSession::pointChanged);
}

void ClientSession::readFrames()
{
    while (socket_->bytesAvailable() > 0) {
        QStringList errors;
        const QVector<ReceivedUnit> units = reader_.feed(socket_->read(kReadChunk), &errors);
        for (const QString& error : qAsConst(errors))
            logError(error);
        for (const ReceivedUnit& unit : units)
            handle(unit);
    }
}

void ClientSession::handle(const ReceivedUnit& unit)
{
    switch (unit.op) {
    case OpBook:
        book(unit);
        break;
    case OpCancel:
        cancel(unit.name);
        break;
    case OpRead:
        if (store_->contains(unit.name))
            send(OpRead, unit.name);
        break;
    case OpWrite:
        write(unit);
        break;
    default:
        logError(QStringLiteral("unknown unit operation %1").arg(unit.op));
        break;
    }
}

void ClientSession::book(const ReceivedUnit& unit)
{
    quint32 period = 0;
    if (unit.value.size() == kNarrowWidth) {
        period = qFromLittleEndian<quint32>(unit.value.constData());
    } else if (!unit.value.isEmpty()) {
        logError(QStringLiteral("book unit with a %1-byte period").arg(unit.value.size()));
        return;
    }
    cancel(unit.name);
    QTimer* timer = nullptr;
    if (period > 0) {
        timer = new QTimer(this);
        timer->setInterval(int(std::clamp<quint32>(period, kMinPeriodMs, std::numeric_limits<int>::max())));
        const QByteArray name = unit.name;
        connect(timer, &QTimer::timeout, this, [this, name] {
            if (store_->contains(name))
                send(OpBook, name);
        });
        timer->start();
    }
    bookings_.insert(unit.name, timer);
    if (store_->contains(unit.name))
        send(OpBook, unit.name);
}

void ClientSession::cancel(const QByteArray& name)
{
    delete bookings_.take(name);
}

void ClientSession::write(const ReceivedUnit& unit)
{
    PointValue value;
    value.type = unit.type;
    value.bytes = unit.value;
    if (!value.wellFormed()) {
        logError(QStringLiteral("write of %1 bytes for type %2").arg(unit.value.size()).arg(unit.type));
        return;
    }
    store_->set(unit.name, value);
}

void ClientSession::pointChanged(const QByteArray& name)
{
    if (bookings_.contains(name))
        send(OpBook, name);
}

void ClientSession::send(quint8 op, const QByteArray& name)
{
    if (socket_->state() != QAbstractSocket::ConnectedState)
        return;
    if (socket_->bytesToWrite() + pending_.size() > kMaxWriteBacklog) {
        logError(QStringLiteral("client does not read; closing"));
        pending_.resize(0);
        socket_->abort();
        return;
    }
    if (pending_.isEmpty())
        QMetaObject::invokeMethod(this, &ClientSession::flush, Qt::QueuedConnection);
    writer_.append(&pending_, op, name, store_->value(name));
}

void ClientSession::flush()
{
    if (pending_.isEmpty())
        return;
    if (socket_->state() == QAbstractSocket::ConnectedState)
        socket_->write(pending_);
    // Keeps the reserved capacity for the next burst.
    pending_.resize(0);
}

void ClientSession::logError(const QString& what) const
{
    qInfo().noquote() << QStringLiteral("%1 protocol error: %2").arg(peer_, what);
}
