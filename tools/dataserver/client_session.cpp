#include "client_session.h"

#include "CIOType.h"
#include "gbk_text.h"
#include "created_points.h"
#include "point_store.h"
#include "subscriber_index.h"

#include <QHostAddress>
#include <QSslSocket>
#include <QtEndian>

#include <algorithm>
#include <limits>

using namespace tavimorio;

namespace {

// Shortest refresh period honoured; clients are not allowed to ask for less.
constexpr quint32 kMinPeriodMs = 100;
// Reads are taken in pieces of this size: one huge read would cost a fresh
// mapping of zeroed pages every time.
constexpr qint64 kReadChunk = 64 * 1024;
// Room kept for the frames of one burst, so building them allocates nothing.
constexpr int kPendingCapacity = 64 * 1024;
// Enough to follow a misbehaving client, too few to flood the log.
constexpr int kLogLinesPerSecond = 3;

// Bytes waiting to go to the client: over TLS the encrypted ones wait apart.
qint64 unsentBytes(const QTcpSocket& socket)
{
    const auto* secure = qobject_cast<const QSslSocket*>(&socket);
    return socket.bytesToWrite() + (secure ? secure->encryptedBytesToWrite() : 0);
}

} // namespace

ClientSession::ClientSession(QTcpSocket* socket, PointStore* store, SubscriberIndex* subscribers,
                             CreatedPoints* created, const ServerLimits& limits, QObject* parent)
    : QObject(parent)
    , socket_(socket)
    , store_(store)
    , subscribers_(subscribers)
    , created_(created)
    , limits_(limits)
    , peer_(QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort()))
    , log_(peer_, kLogLinesPerSecond)
    , writable_(limits.writers.prefixesFor(socket->peerAddress()))
{
    socket_->setParent(this);
    // Updates are small frames written as values change; with Nagle's algorithm
    // the last one of a burst waits for the client's delayed acknowledgement.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    pending_.reserve(kPendingCapacity);
    connect(socket_, &QTcpSocket::readyRead, this, &ClientSession::readFrames);
    connect(socket_, &QTcpSocket::disconnected, this, [this] { emit closed(this); });
    connect(&bookings_, &BookingTable::due, this, &ClientSession::refresh);
    // A connection that waited for a free place may have sent its requests
    // already, and their readyRead went by unheard.
    if (socket_->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, &ClientSession::readFrames, Qt::QueuedConnection);
    if (limits_.idleTimeoutMs > 0) {
        idle_.setSingleShot(true);
        idle_.setInterval(limits_.idleTimeoutMs);
        connect(&idle_, &QTimer::timeout, this,
                [this] { drop(QStringLiteral("silent for %1 ms").arg(limits_.idleTimeoutMs)); });
        idle_.start();
    }
}

ClientSession::~ClientSession()
{
    const QList<QByteArray> booked = bookings_.names();
    for (const QByteArray& name : booked)
        subscribers_->remove(name, this);
}

void ClientSession::readFrames()
{
    if (idle_.isActive())
        idle_.start();
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
    if (!bookings_.contains(unit.name) && bookings_.size() >= limits_.maxBookings) {
        logError(QStringLiteral("booking refused: %1 names booked, the limit").arg(bookings_.size()));
        return;
    }
    const bool hasValue = store_->contains(unit.name);
    subscribers_->add(unit.name, this);
    bookings_.book(unit.name,
                   period == 0 ? 0 : int(std::clamp<quint32>(period, kMinPeriodMs, std::numeric_limits<int>::max())),
                   hasValue);
    if (hasValue)
        send(OpBook, unit.name);
}

void ClientSession::cancel(const QByteArray& name)
{
    bookings_.cancel(name);
    subscribers_->remove(name, this);
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
    if (!std::any_of(writable_.cbegin(), writable_.cend(),
                     [&](const QByteArray& prefix) { return unit.name.startsWith(prefix); })) {
        log_.log(QStringLiteral("%1 write refused: %2 is not in the writers file for this address")
                     .arg(peer_, fromGbk(unit.name.constData(), unit.name.size())));
        return;
    }
    if (!store_->contains(unit.name)) {
        if (createdCount_ >= limits_.maxWrittenPoints) {
            logError(QStringLiteral("write refused: %1 points created by this client, the limit").arg(createdCount_));
            return;
        }
        if (!created_->makeRoom()) {
            logError(QStringLiteral("write refused: %1 points created by writing, all booked or kept")
                         .arg(created_->size()));
            return;
        }
        ++createdCount_;
        created_->add(unit.name);
    }
    store_->set(unit.name, value);
}

void ClientSession::pointChanged(const QByteArray& name)
{
    bookings_.valueAppeared(name);
    send(OpBook, name);
}

void ClientSession::refresh(const QSet<QByteArray>& names)
{
    for (const QByteArray& name : names) {
        if (store_->contains(name))
            send(OpBook, name);
        else
            bookings_.valueGone(name);
    }
}

void ClientSession::send(quint8 op, const QByteArray& name)
{
    if (socket_->state() != QAbstractSocket::ConnectedState)
        return;
    if (unsentBytes(*socket_) + pending_.size() > limits_.maxUnsentBytes) {
        drop(QStringLiteral("client does not read"));
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

void ClientSession::drop(const QString& why)
{
    log_.log(QStringLiteral("%1 closed: %2").arg(peer_, why));
    pending_.resize(0);
    socket_->abort();
}

void ClientSession::logError(const QString& what)
{
    log_.log(QStringLiteral("%1 protocol error: %2").arg(peer_, what));
}
