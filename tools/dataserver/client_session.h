#pragma once

#include "frame_reader.h"
#include "frame_writer.h"

#include <QHash>
#include <QObject>

class PointStore;
class QTcpSocket;
class QTimer;

/**
 * One connected client: parses its frames and answers its units. Book subscribes
 * (the current value is sent at once, then every period milliseconds, and every
 * new value of the point immediately; period 0 sends new values only), cancel
 * unsubscribes, read answers with a read reply when the point has a value, write
 * stores the value, which reaches every subscriber.
 */
class ClientSession : public QObject
{
    Q_OBJECT

public:
    /// Takes over the connected socket.
    ClientSession(QTcpSocket* socket, PointStore* store, QObject* parent = nullptr);

    /// "address:port" of the client.
    QString peer() const { return peer_; }

signals:
    /// The client went away; the listener deletes the session.
    void closed(ClientSession* self);

private:
    void readFrames();
    void handle(const ReceivedUnit& unit);
    void book(const ReceivedUnit& unit);
    void cancel(const QByteArray& name);
    void write(const ReceivedUnit& unit);
    void pointChanged(const QByteArray& name);
    void send(quint8 op, const QByteArray& name);
    void flush();
    void logError(const QString& what) const;

    QTcpSocket* socket_;
    PointStore* store_;
    QString peer_;
    FrameReader reader_;
    FrameWriter writer_;
    // Frames built since the last flush; one socket write carries a whole burst.
    QByteArray pending_;
    // Booked names; the timer is null for on-change-only bookings.
    QHash<QByteArray, QTimer*> bookings_;
};
