#include "alarm_state.h"

#include "console_clock.h"

#include <QDateTime>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kShelveCheckMs = 1000;
constexpr qint64 kMsPerMinute = 60000;
const char kTimeFormat[] = "hh:mm:ss";

} // namespace

AlarmState::AlarmState(const ConsoleClock& clock, QObject* parent)
    : QObject(parent)
    , clock_(clock)
    , shelve_timer_(new QTimer(this))
{
    shelve_timer_->setInterval(kShelveCheckMs);
    connect(shelve_timer_, &QTimer::timeout, this, &AlarmState::expireShelving);
}

AlarmState::~AlarmState() = default;

int AlarmState::addItem(const Item& item)
{
    const int id = int(alarms_.size());
    alarms_.push_back({});
    alarms_.back().item = item;
    in_list_.push_back(false);
    counted_.push_back({});
    by_tag_.insert(item.tag, id);
    by_sensor_[item.sensor].append(id);
    return id;
}

const AlarmState::Alarm* AlarmState::alarm(int id) const
{
    return id >= 0 && id < int(alarms_.size()) ? &alarms_[std::size_t(id)] : nullptr;
}

QList<int> AlarmState::idsOfTag(const QString& tag) const
{
    QList<int> ids = by_tag_.values(tag);
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool AlarmState::isActive(State state)
{
    return state == State::UnacknowledgedActive || state == State::AcknowledgedActive;
}

bool AlarmState::isAwaiting(State state)
{
    return state == State::UnacknowledgedActive || state == State::UnacknowledgedCleared;
}

QString AlarmState::stateText(State state)
{
    switch (state) {
    case State::UnacknowledgedActive: return tr("报警未确认");
    case State::AcknowledgedActive: return tr("报警已确认");
    case State::UnacknowledgedCleared: return tr("已消除未确认");
    case State::Normal: break;
    }
    return tr("正常");
}

void AlarmState::stateChanged(int id, bool abnormal, bool awaitingAcknowledgement)
{
    if (!alarm(id) || alarm(id)->recalled)
        return;
    Alarm& alarm = alarms_[std::size_t(id)];
    if (abnormal) {
        // An incident starts with an alarm raised on an empty list; its first
        // alarm keeps the mark through clearing and raising again until the
        // list has emptied (updateListing()).
        if (listed_.isEmpty())
            alarm.firstOut = true;
        alarm.raised = clock_.nowMs();
        alarm.acknowledging = false;
        setState(id, awaitingAcknowledgement ? State::UnacknowledgedActive : State::AcknowledgedActive);
        emit alarmRaised(id);
    } else {
        // The operator's acknowledgement counts even when the clearing overtook its flag.
        const bool acknowledgedHere = alarm.acknowledging;
        alarm.acknowledging = false;
        const bool done = acknowledgedHere || alarm.state == State::AcknowledgedActive;
        setState(id, done ? State::Normal : State::UnacknowledgedCleared);
        emit alarmCleared(id);
        if (acknowledgedHere)
            emit acknowledgedWithoutFlag(id);
    }
}

void AlarmState::acknowledgementChanged(int id, bool abnormal, bool awaitingAcknowledgement)
{
    const Alarm* known = alarm(id);
    // Without an acknowledgement point the library's flag never moves: only the operator acknowledges.
    if (!known || known->recalled || !abnormal || !isActive(known->state) || known->item.confirmTag.isEmpty())
        return;
    const State now = awaitingAcknowledgement ? State::UnacknowledgedActive : State::AcknowledgedActive;
    if (now == known->state)
        return;
    alarms_[std::size_t(id)].acknowledging = false;
    setState(id, now);
}

void AlarmState::recall(const QVector<Recalled>& alarms, const QString& firstOut)
{
    QVector<Recalled> byRaise = alarms;
    std::stable_sort(byRaise.begin(), byRaise.end(),
                     [](const Recalled& a, const Recalled& b) { return a.raised < b.raised; });
    for (const Recalled& recalled : qAsConst(byRaise)) {
        for (int id : idsOfTag(recalled.tag)) {
            Alarm& alarm = alarms_[std::size_t(id)];
            alarm.state = recalled.state;
            alarm.raised = recalled.raised;
            alarm.recalled = isActive(recalled.state);
            tally(id);
            history_.record(id, recalled.raised, stateText(recalled.state));
            updateListing(id);
            emit alarmChanged(id);
        }
    }
    const QList<int> first = idsOfTag(firstOut);
    if (listed_.isEmpty() || first.isEmpty())
        return;
    alarms_[std::size_t(first.first())].firstOut = true;
    emit alarmChanged(first.first());
}

void AlarmState::reconcile(int id, bool abnormal, bool awaitingAcknowledgement)
{
    if (!alarm(id) || !alarm(id)->recalled)
        return;
    Alarm& alarm = alarms_[std::size_t(id)];
    alarm.recalled = false;
    // Without an acknowledgement point the reading cannot tell who acknowledged: the recalled state stands.
    const bool flagged = !alarm.item.confirmTag.isEmpty();
    if (!abnormal) {
        stateChanged(id, false, false);
    } else if (flagged && awaitingAcknowledgement && alarm.state == State::AcknowledgedActive) {
        // Its acknowledgement was taken back: the ship raised it anew.
        stateChanged(id, false, false);
        stateChanged(id, true, true);
    } else if (flagged && !awaitingAcknowledgement && alarm.state == State::UnacknowledgedActive) {
        acknowledgementChanged(id, true, false);
    }
}

void AlarmState::setState(int id, State state)
{
    alarms_[std::size_t(id)].state = state;
    tally(id);
    record(id, stateText(state));
    updateListing(id);
    emit alarmChanged(id);
}

void AlarmState::record(int id, const QString& text)
{
    history_.record(id, clock_.nowMs(), text);
}

bool AlarmState::belongsInList(const Alarm& alarm) const
{
    return alarm.state != State::Normal || alarm.shelved;
}

void AlarmState::updateListing(int id)
{
    Alarm& alarm = alarms_[std::size_t(id)];
    const bool wasListed = in_list_[std::size_t(id)];
    if (belongsInList(alarm) && !wasListed) {
        in_list_[std::size_t(id)] = true;
        listed_.append(id);
        emit alarmListed(id);
    } else if (!belongsInList(alarm) && wasListed) {
        in_list_[std::size_t(id)] = false;
        listed_.removeOne(id);
        emit alarmUnlisted(id);
        if (listed_.isEmpty())
            endIncident();
    }
}

void AlarmState::tally(int id)
{
    const Alarm& alarm = alarms_[std::size_t(id)];
    const bool heard = !alarm.shelved && !alarm.suppressed;
    const Counted now{isActive(alarm.state), isAwaiting(alarm.state) && heard,
                      alarm.state == State::UnacknowledgedActive && heard};
    Counted& was = counted_[std::size_t(id)];
    DeckTally& deck = decks_[alarm.item.deck];
    deck.active += int(now.active) - int(was.active);
    deck.unacknowledged += int(now.unacknowledged) - int(was.unacknowledged);
    announced_[std::size_t(alarm.item.priority)] += int(now.announced) - int(was.announced);
    was = now;
}

void AlarmState::endIncident()
{
    for (std::size_t id = 0; id < alarms_.size(); ++id) {
        if (alarms_[id].firstOut) {
            alarms_[id].firstOut = false;
            emit alarmChanged(int(id));
        }
    }
}

void AlarmState::acknowledgedByOperator(int id)
{
    const Alarm* known = alarm(id);
    if (!known || !isAwaiting(known->state))
        return;
    record(id, tr("操作员确认"));
    if (known->state == State::UnacknowledgedCleared) {
        setState(id, State::Normal);
    } else if (known->item.confirmTag.isEmpty()) {
        setState(id, State::AcknowledgedActive);
    } else {
        alarms_[std::size_t(id)].acknowledging = true;
        emit acknowledgementSent(id);
        return;
    }
    emit acknowledgedWithoutFlag(id);
}

bool AlarmState::acknowledgedElsewhere(int id, qint64 atMs, const QString& console)
{
    const Alarm* known = alarm(id);
    if (!known || known->raised > atMs)
        return false;
    const bool cleared = known->state == State::UnacknowledgedCleared;
    if (!cleared && (known->state != State::UnacknowledgedActive || !known->item.confirmTag.isEmpty()))
        return false;
    record(id, tr("控制台 %1 确认").arg(console));
    setState(id, cleared ? State::Normal : State::AcknowledgedActive);
    return true;
}

bool AlarmState::shelve(int id, const QString& reason, int minutes)
{
    return shelveUntil(id, reason, clock_.nowMs() + qint64(qBound(1, minutes, shelve_limit_minutes_)) * kMsPerMinute);
}

bool AlarmState::shelveUntil(int id, const QString& reason, qint64 untilMs)
{
    const Alarm* known = alarm(id);
    const qint64 now = clock_.nowMs();
    if (!known || known->shelved || !belongsInList(*known) || untilMs <= now)
        return false;
    Alarm& alarm = alarms_[std::size_t(id)];
    alarm.shelved = true;
    alarm.shelveReason = reason;
    alarm.shelvedUntil = qMin(untilMs, now + qint64(shelve_limit_minutes_) * kMsPerMinute);
    tally(id);
    record(id, tr("搁置至 %1: %2")
                   .arg(QDateTime::fromMSecsSinceEpoch(alarm.shelvedUntil).toString(QLatin1String(kTimeFormat)),
                        reason));
    shelve_timer_->start();
    emit alarmChanged(id);
    return true;
}

bool AlarmState::unshelve(int id)
{
    const Alarm* known = alarm(id);
    if (!known || !known->shelved)
        return false;
    Alarm& alarm = alarms_[std::size_t(id)];
    alarm.shelved = false;
    alarm.shelveReason.clear();
    tally(id);
    record(id, tr("解除搁置"));
    updateListing(id);
    emit alarmChanged(id);
    return true;
}

void AlarmState::expireShelving()
{
    const qint64 now = clock_.nowMs();
    QList<int> due;
    bool left = false;
    for (int id : qAsConst(listed_)) {
        const Alarm& alarm = alarms_[std::size_t(id)];
        if (alarm.shelved && alarm.shelvedUntil <= now)
            due.append(id);
        else
            left = left || alarm.shelved;
    }
    for (int id : qAsConst(due)) {
        unshelve(id);
        emit shelvingExpired(id);
    }
    if (!left)
        shelve_timer_->stop();
}

void AlarmState::setGroupSuppressed(const QString& group, bool suppressed)
{
    for (int id = 0; id < int(alarms_.size()); ++id) {
        Alarm& alarm = alarms_[std::size_t(id)];
        if (alarm.item.group.isEmpty() || alarm.item.group != group || alarm.suppressed == suppressed)
            continue;
        alarm.suppressed = suppressed;
        tally(id);
        emit alarmChanged(id);
    }
}

void AlarmState::setStale(bool stale)
{
    if (stale == stale_)
        return;
    stale_ = stale;
    emit staleChanged(stale);
}

QList<int> AlarmState::unacknowledged(std::optional<quint64> deck, std::optional<quint64> compartment) const
{
    QList<int> out;
    for (int id : listed_) {
        const Alarm& alarm = alarms_[std::size_t(id)];
        if (isAwaiting(alarm.state) && (!deck || alarm.item.deck == *deck)
            && (!compartment || alarm.item.compartment == *compartment))
            out.append(id);
    }
    return out;
}

int AlarmState::unacknowledgedCount(quint64 deck) const
{
    return decks_.value(deck).unacknowledged;
}

int AlarmState::activeCount(quint64 deck) const
{
    return decks_.value(deck).active;
}

std::optional<quint64> AlarmState::busiestDeck(const QList<quint64>& decks) const
{
    std::optional<quint64> busiest;
    int most = -1;
    for (quint64 deck : decks) {
        const int count = unacknowledgedCount(deck);
        if (count > most) {
            most = count;
            busiest = deck;
        }
    }
    return busiest;
}

std::optional<AlarmPriority> AlarmState::mostUrgentToAnnounce() const
{
    // Priorities count from the most urgent.
    for (int p = 0; p < alarmpriority::kCount; ++p) {
        if (announced_[std::size_t(p)] > 0)
            return AlarmPriority(p);
    }
    return std::nullopt;
}

bool AlarmState::awaitsAcknowledgement(int sensor) const
{
    const QVector<int> ids = by_sensor_.value(sensor);
    return std::any_of(ids.cbegin(), ids.cend(), [this](int id) {
        const Alarm& alarm = alarms_[std::size_t(id)];
        return isAwaiting(alarm.state) && !alarm.shelved;
    });
}

std::optional<AlarmPriority> AlarmState::priorityShown(int sensor) const
{
    std::optional<AlarmPriority> most;
    for (int id : by_sensor_.value(sensor)) {
        const Alarm& alarm = alarms_[std::size_t(id)];
        if (!alarm.shelved && alarm.state != State::Normal && (!most || alarm.item.priority < *most))
            most = alarm.item.priority;
    }
    return most;
}

bool AlarmState::anyShelved(int sensor) const
{
    const QVector<int> ids = by_sensor_.value(sensor);
    return std::any_of(ids.cbegin(), ids.cend(), [this](int id) { return alarms_[std::size_t(id)].shelved; });
}
