#include "data_link.h"

#include "record_value.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

constexpr int kFirstRetryMs = 1000;
constexpr int kLongestRetryMs = 16000;
constexpr int kOnChangeOnly = 0;  // booking period: send new values only
constexpr int kQueue = 0;         // BookDt: queue the request
constexpr int kCommit = 1;        // BookDt: queue and send everything queued

} // namespace

DataLink::DataLink(const QString& address, quint16 port, Route route, QStringList names, QObject* parent)
    : QObject(parent)
    , address_(address)
    , port_(port)
    , route_(std::move(route))
    , names_(std::move(names))
    , retry_timer_(new QTimer(this))
    , retry_delay_ms_(kFirstRetryMs)
{
    qRegisterMetaType<DataLink::LinkState>();
    retry_timer_->setSingleShot(true);
    connect(retry_timer_, &QTimer::timeout, this, &DataLink::attempt);
    connect(&client_, &Tavimor::stateChanged, this, &DataLink::onClientState);
    client_.setRecordHandler(this, [this](stDt* records, int count) { deliver(records, count); });
}

bool DataLink::open()
{
    attempt();
    if (client_.state() == Tavimor::State::Connecting) {
        QEventLoop wait;
        connect(&client_, &Tavimor::stateChanged, &wait, &QEventLoop::quit);
        wait.exec();
    }
    return connected_;
}

void DataLink::start()
{
    retrying_ = true;
    attempt();
}

bool DataLink::isConnected() const
{
    return connected_;
}

DataLink::LinkState DataLink::linkState() const
{
    return state_;
}

int DataLink::msToNextAttempt() const
{
    return retry_timer_->isActive() ? retry_timer_->remainingTime() : -1;
}

QString DataLink::serverText() const
{
    return QStringLiteral("%1:%2").arg(address_).arg(port_);
}

bool DataLink::writeInt(const QString& name, qint32 value)
{
    return connected_ && client_.WriteDt(name, recordvalue::intRecord(value)) > 0;
}

void DataLink::deliver(const stDt* records, int count)
{
    if (batch_count_ == 0)
        QTimer::singleShot(0, this, &DataLink::reportBatch);
    batch_count_ += count;
    for (int i = 0; i < count; ++i) {
        double value = 0.0;
        if (recordvalue::number(records[i], &value) && route_(recordvalue::name(records[i]), value) > 0)
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

void DataLink::attempt()
{
    if (client_.state() != Tavimor::State::Unconnected)
        return;
    if (!client_.connectToServer(address_, port_))
        setLinkState(LinkState::Idle);
}

void DataLink::onClientState(Tavimor::State state)
{
    switch (state) {
    case Tavimor::State::Connecting:
        setLinkState(LinkState::Connecting);
        return;
    case Tavimor::State::Connected:
        connected_ = bookAll();
        if (connected_) {
            retrying_ = true;
            retry_delay_ms_ = kFirstRetryMs;
        }
        emit connectionChanged(connected_);
        setLinkState(connected_ ? LinkState::Connected : LinkState::Idle);
        return;
    case Tavimor::State::Unconnected:
        if (connected_) {
            connected_ = false;
            emit connectionChanged(false);
        }
        if (retrying_)
            scheduleRetry();
        else
            setLinkState(LinkState::Idle);
        return;
    }
}

bool DataLink::bookAll()
{
    // Forget bookings still waiting for a first answer from the last connection.
    client_.CancelDt(QString());
    // The ship loader checked the names, so a booking fails only when the socket
    // does; that counts as no connection, and the next attempt books everything.
    bool booked = true;
    for (int i = 0; i < names_.size(); ++i) {
        const int mode = i + 1 == names_.size() ? kCommit : kQueue;
        booked = client_.BookDt(names_.at(i), kOnChangeOnly, mode, nullptr) >= 0 && booked;
    }
    return booked;
}

void DataLink::scheduleRetry()
{
    retrying_ = true;
    retry_timer_->start(retry_delay_ms_);
    emit reconnectScheduled(retry_delay_ms_);
    setLinkState(LinkState::WaitingToRetry);
    retry_delay_ms_ = std::min(retry_delay_ms_ * 2, kLongestRetryMs);
}

void DataLink::setLinkState(LinkState state)
{
    // A new plan is news even in the same state: the countdown starts again.
    if (state == state_ && state != LinkState::WaitingToRetry)
        return;
    state_ = state;
    emit linkStateChanged(state_, msToNextAttempt());
}
