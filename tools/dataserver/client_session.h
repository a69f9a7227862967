#pragma once

#include "booking_table.h"
#include "frame_reader.h"
#include "frame_writer.h"
#include "log_limiter.h"
#include "server_limits.h"

#include <QObject>
#include <QSet>
#include <QTimer>

class CreatedPoints;
class PointStore;
class QTcpSocket;
class SubscriberIndex;

/**
 * One connected client: parses its frames and answers its units. Book subscribes
 * (the current value is sent at once, then every period milliseconds, and every
 * new value of the point immediately; period 0 sends new values only), cancel
 * unsubscribes, read answers with a read reply when the point has a value, write
 * stores the value, which reaches every subscriber.
 *
 * Within the limits: a booking beyond maxBookings, and a write that would create
 * a point beyond maxWrittenPoints or when `created` has no room, are refused
 * and logged, as is a write of a name the writers rules do not grant the
 * client's address; a client with more than maxUnsentBytes waiting, or silent for
 * idleTimeoutMs, is closed. Log lines are rate-limited.
 */
class ClientSession : public QObject
{
    Q_OBJECT

public:
    /// Takes over the connected socket; enters its bookings in `subscribers`,
    /// whose owner calls pointChanged() for them, and the points it creates by
    /// writing in `created`.
    ClientSession(QTcpSocket* socket, PointStore* store, SubscriberIndex* subscribers, CreatedPoints* created,
                  const ServerLimits& limits, QObject* parent = nullptr);
    ~ClientSession() override;

    /// "address:port" of the client.
    QString peer() const { return peer_; }
    /// A point this client booked has a new value.
    void pointChanged(const QByteArray& name);

signals:
    /// The client went away; the listener deletes the session.
    void closed(ClientSession* self);

private:
    void readFrames();
    void handle(const ReceivedUnit& unit);
    void book(const ReceivedUnit& unit);
    void cancel(const QByteArray& name);
    void write(const ReceivedUnit& unit);
    void refresh(const QSet<QByteArray>& names);
    void send(quint8 op, const QByteArray& name);
    void flush();
    void drop(const QString& why);
    void logError(const QString& what);

    QTcpSocket* socket_;
    PointStore* store_;
    SubscriberIndex* subscribers_;
    CreatedPoints* created_;
    ServerLimits limits_;
    QString peer_;
    LogLimiter log_;
    FrameReader reader_;
    FrameWriter writer_;
    // Frames built since the last flush; one socket write carries a whole burst.
    QByteArray pending_;
    BookingTable bookings_;
    // Points this client brought into being by writing.
    int createdCount_ = 0;
    // Name prefixes this client's address may write (an empty one: every name).
    QVector<QByteArray> writable_;
    QTimer idle_;
};
