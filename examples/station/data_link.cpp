#include "data_link.h"

#include "record_value.h"

#include "entity/sensor_item_index.h"

#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kFirstRetryMs = 1000;
constexpr int kLongestRetryMs = 16000;
constexpr int kOnChangeOnly = 0;  // booking period: send new values only
constexpr int kQueue = 0;         // BookDt: queue the request
constexpr int kCommit = 1;        // BookDt: queue and send everything queued

} // namespace

DataLink* DataLink::active_ = nullptr;

DataLink::DataLink(const QString& address, quint16 port, const harq::SensorItemIndex& index, QStringList names,
                   QObject* parent)
    : QObject(parent)
    , address_(address)
    , port_(port)
    , index_(index)
    , names_(std::move(names))
    , retry_timer_(new QTimer(this))
    , retry_delay_ms_(kFirstRetryMs)
{
    retry_timer_->setSingleShot(true);
    connect(retry_timer_, &QTimer::timeout, this, &DataLink::retry);
}

DataLink::~DataLink()
{
    // The client closes its socket when it goes; that is no lost connection.
    if (socket_)
        socket_->disconnect(this);
    if (active_ == this)
        active_ = nullptr;
}

bool DataLink::open()
{
    active_ = this;
    return connectAndBook();
}

bool DataLink::isConnected() const
{
    return connected_;
}

QString DataLink::serverText() const
{
    return QStringLiteral("%1:%2").arg(address_).arg(port_);
}

bool DataLink::writeInt(const QString& name, qint32 value)
{
    return connected_ && client_.WriteDt(name, recordvalue::intRecord(value)) > 0;
}

void DataLink::onRecords(stDt* records, int count, int)
{
    if (active_)
        active_->deliver(records, count);
}

void DataLink::deliver(const stDt* records, int count)
{
    if (batch_count_ == 0)
        QTimer::singleShot(0, this, &DataLink::reportBatch);
    batch_count_ += count;
    for (int i = 0; i < count; ++i) {
        double value = 0.0;
        if (recordvalue::number(records[i], &value) && index_.dispatch(recordvalue::name(records[i]), value) > 0)
            ++batch_routed_;
    }
}

void DataLink::reportBatch()
{
    const int count = batch_count_;
    const int routed = batch_routed_;
    batch_count_ = 0;
    batch_routed_ = 0;
    emit updatesReceived(count, routed);
}

bool DataLink::connectAndBook()
{
    // The socket is the client's child; its state tells when the connection drops.
    if (!socket_)
        watchSocket();
    const bool reached = client_.InitSvr(address_, port_) > 0
        && (!socket_ || socket_->state() == QAbstractSocket::ConnectedState);
    if (!reached)
        return false;

    // Forget bookings still waiting for a first answer from the last connection.
    client_.CancelDt(QString());
    // The ship loader checked the names, so a booking fails only when the socket
    // does; that counts as no connection, and the next attempt books everything.
    bool booked = true;
    for (int i = 0; i < names_.size(); ++i) {
        const int mode = i + 1 == names_.size() ? kCommit : kQueue;
        booked = client_.BookDt(names_.at(i), kOnChangeOnly, mode, &DataLink::onRecords) >= 0 && booked;
    }
    connected_ = booked;
    retry_delay_ms_ = kFirstRetryMs;
    emit connectionChanged(connected_);
    return connected_;
}

void DataLink::watchSocket()
{
    socket_ = client_.findChild<QTcpSocket*>();
    if (socket_)
        connect(socket_, &QAbstractSocket::stateChanged, this, &DataLink::onSocketStateChanged);
}

void DataLink::scheduleRetry()
{
    active_ = this;
    retry_timer_->start(retry_delay_ms_);
    emit reconnectScheduled(retry_delay_ms_);
}

void DataLink::onSocketStateChanged(QAbstractSocket::SocketState state)
{
    if (state != QAbstractSocket::UnconnectedState || !connected_)
        return;
    connected_ = false;
    emit connectionChanged(false);
    scheduleRetry();
}

void DataLink::retry()
{
    if (connectAndBook())
        return;
    retry_delay_ms_ = std::min(retry_delay_ms_ * 2, kLongestRetryMs);
    scheduleRetry();
}
