#pragma once

#include "Tavimor.h"

#include <QAbstractSocket>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QTcpSocket;
class QTimer;

namespace harq {
class SensorItemIndex;
}

/// The station's connection to the data server.
///
/// Books every data point the ship's sensor items follow (on change only), hands
/// each received value to the items through the ship's name index, and when the
/// connection drops reconnects with a growing pause and books everything again.
/// The client library's callback carries no context, so one link is active per
/// process: the last one opened.
class DataLink : public QObject
{
    Q_OBJECT

public:
    DataLink(const QString& address, quint16 port, const harq::SensorItemIndex& index, QStringList names,
             QObject* parent = nullptr);
    ~DataLink() override;

    /// Connects and books; false if the server cannot be reached (no retry is scheduled).
    bool open();
    /// Keeps trying to connect, with a growing pause, until it succeeds.
    void scheduleRetry();
    bool isConnected() const;
    QString serverText() const;

    /// Writes the 32-bit integer \a value to the point \a name; false if it could not be sent.
    bool writeInt(const QString& name, qint32 value);

signals:
    void connectionChanged(bool connected);
    /// A batch of updates (all that one read of the socket brought) was received;
    /// \a routed of them reached at least one item.
    void updatesReceived(int count, int routed);
    /// The next connection attempt is due in \a delayMs milliseconds.
    void reconnectScheduled(int delayMs);

private:
    static void onRecords(stDt* records, int count, int);
    void deliver(const stDt* records, int count);
    void reportBatch();
    bool connectAndBook();
    void watchSocket();
    void onSocketStateChanged(QAbstractSocket::SocketState state);
    void retry();

    static DataLink* active_;

    QString address_;
    quint16 port_;
    const harq::SensorItemIndex& index_;
    QStringList names_;
    Tavimor client_;
    QPointer<QTcpSocket> socket_;
    QTimer* retry_timer_;
    int retry_delay_ms_;
    bool connected_ = false;
    // Updates delivered since the last report; the client calls back once per frame.
    int batch_count_ = 0;
    int batch_routed_ = 0;
};
