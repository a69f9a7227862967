#include "link_supervisor.h"

#include "tavimor_record.h"

#include "Tavimor.h"

#include <QEventLoop>
#include <QTimer>

namespace {

constexpr int kOnChangeOnly = 0; // booking period: send new values only
constexpr int kQueue = 0;        // BookDt: queue the request
constexpr int kCommit = 1;       // BookDt: queue and send everything queued
constexpr quint8 kReadReply = 1; // stDt::cStat of a read reply

} // namespace

LinkSupervisor::LinkSupervisor(const QString& address, quint16 port, QObject* parent)
    : QObject(parent)
    , address_(address)
    , port_(port)
    , retry_timer_(new QTimer(this))
    , probe_timer_(new QTimer(this))
    , deadline_(new QTimer(this))
    , pacer_([this](const stDt* records, int count) { emit recordsReceived(records, count); })
{
    qRegisterMetaType<LinkSupervisor::State>();
    retry_timer_->setSingleShot(true);
    connect(retry_timer_, &QTimer::timeout, this, &LinkSupervisor::attempt);
    probe_timer_->setInterval(kProbeMs);
    connect(probe_timer_, &QTimer::timeout, this, &LinkSupervisor::probe);
    deadline_->setSingleShot(true);
    deadline_->setInterval(kDeadlineMs);
    connect(deadline_, &QTimer::timeout, this, &LinkSupervisor::drop);
}

LinkSupervisor::~LinkSupervisor() = default;

void LinkSupervisor::book(const QStringList& names)
{
    names_ += names;
    if (isConnected() && !bookOnClient(names))
        drop();
}

bool LinkSupervisor::open()
{
    attempt();
    if (state_ == State::Connecting || state_ == State::AwaitingAnswer) {
        QEventLoop wait;
        connect(this, &LinkSupervisor::stateChanged, &wait, [&wait](State state) {
            if (state != State::Connecting && state != State::AwaitingAnswer)
                wait.quit();
        });
        wait.exec();
    }
    return isLive();
}

void LinkSupervisor::start()
{
    retrying_ = true;
    if (state_ == State::Idle)
        attempt();
}

LinkSupervisor::State LinkSupervisor::state() const
{
    return state_;
}

bool LinkSupervisor::isLive() const
{
    return state_ == State::Live;
}

bool LinkSupervisor::isConnected() const
{
    return state_ == State::AwaitingAnswer || state_ == State::Live;
}

int LinkSupervisor::msToNextAttempt() const
{
    return retry_timer_->isActive() ? retry_timer_->remainingTime() : -1;
}

QString LinkSupervisor::serverText() const
{
    return QStringLiteral("%1:%2").arg(address_).arg(port_);
}

bool LinkSupervisor::write(const QString& name, const stDt& record)
{
    return isConnected() && client_->WriteDt(name, record) > 0;
}

void LinkSupervisor::attempt()
{
    // Never called from the client's own signals, so the old client may go here.
    if (client_)
        client_->disconnect(this);
    client_ = std::make_unique<Tavimor>();
    client_->setTls(tls_);
    connect(client_.get(), &Tavimor::stateChanged, this, &LinkSupervisor::onClientState);
    client_->setRecordHandler(this, [this](stDt* records, int count) { onFrame(records, count); });
    probe_name_.clear();
    if (!client_->connectToServer(address_, port_)) {
        client_.reset();
        setState(State::Idle);
    }
}

void LinkSupervisor::onClientState()
{
    switch (client_->state()) {
    case Tavimor::State::Connecting:
        setState(State::Connecting);
        return;
    case Tavimor::State::Connected:
        // Bookings that fail mean the socket did; the next attempt books everything.
        if (!bookOnClient(names_)) {
            QTimer::singleShot(0, this, &LinkSupervisor::drop);
            return;
        }
        deadline_->start();
        probe_timer_->start();
        setState(State::AwaitingAnswer);
        emit connected();
        return;
    case Tavimor::State::Unconnected:
        // The client may not be deleted inside its own signal: it is replaced
        // by the next attempt.
        probe_timer_->stop();
        deadline_->stop();
        if (retrying_)
            scheduleRetry();
        else
            setState(State::Idle);
        return;
    }
}

void LinkSupervisor::onFrame(const stDt* records, int count)
{
    deadline_->start();
    if (probe_name_.isEmpty() && count > 0)
        probe_name_ = tavimor::recordName(records[0]);
    if (state_ == State::AwaitingAnswer) {
        retrying_ = true;
        retry_.reset();
        setState(State::Live);
    }
    // Read replies answer the probe; the channels hear updates only.
    int start = 0;
    for (int i = 0; i <= count; ++i) {
        if (i < count && records[i].cStat != kReadReply)
            continue;
        if (i > start)
            pacer_.take(records + start, i - start);
        start = i + 1;
    }
}

void LinkSupervisor::probe()
{
    if (!probe_name_.isEmpty() && client_->requestRead(probe_name_) <= 0)
        QTimer::singleShot(0, this, &LinkSupervisor::drop);
}

void LinkSupervisor::drop()
{
    if (!client_)
        return;
    probe_timer_->stop();
    deadline_->stop();
    // Nothing is heard from the dropped client, its abort included.
    client_->disconnect(this);
    client_->setRecordHandler(this, {});
    client_.reset();
    if (retrying_)
        scheduleRetry();
    else
        setState(State::Idle);
}

void LinkSupervisor::scheduleRetry()
{
    retry_timer_->start(retry_.next());
    setState(State::WaitingToRetry);
}

bool LinkSupervisor::bookOnClient(const QStringList& names)
{
    // Forget bookings still waiting for a first answer from before.
    client_->CancelDt(QString());
    bool booked = true;
    for (int i = 0; i < names.size(); ++i) {
        const int mode = i + 1 == names.size() ? kCommit : kQueue;
        booked = client_->BookDt(names.at(i), kOnChangeOnly, mode, nullptr) >= 0 && booked;
    }
    return booked;
}

void LinkSupervisor::setState(State state)
{
    // What the server sent before the change is heard before it.
    pacer_.flush();
    const bool wasLive = isLive();
    // A new plan is news even in the same state: the countdown starts again.
    if (state == state_ && state != State::WaitingToRetry)
        return;
    state_ = state;
    emit stateChanged(state_, msToNextAttempt());
    if (wasLive != isLive())
        emit liveChanged(isLive());
}
