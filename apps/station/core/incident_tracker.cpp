#include "incident_tracker.h"

#include "alarm_priority.h"
#include "alarm_state.h"
#include "incident_commands.h"
#include "incident_store.h"

#include <QDateTime>
#include <QTimer>

#include <utility>

namespace {

using Kind = IncidentEvent::Kind;

const QChar kField = QLatin1Char(';');
const QString kWithdrawn = QStringLiteral("-");
constexpr int kTeamFields = 4;
constexpr qint64 kMsPerMinute = 60000;
// As far back as the alarm list keeps a trend.
constexpr qint64 kTrendMs = 60 * kMsPerMinute;
constexpr int kPositionDecimals = 2;
// How long after a connection the server's values at booking have surely come.
constexpr int kSettleMs = 1000;

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

/// The order every console agrees on: the later action, on equal times the greater console name.
bool isNewer(const IncidentSharing::Value& a, const IncidentSharing::Value& b)
{
    return a.msecs != b.msecs ? a.msecs > b.msecs : a.console > b.console;
}

} // namespace

QStringList IncidentTracker::sharedPoints(const Catalogue& ship, const IncidentState& state, const AlarmState& alarms)
{
    QStringList points;
    for (auto it = ship.compartments.cbegin(); it != ship.compartments.cend(); ++it)
        points.append(IncidentSharing::damagePoint(it.key()));
    for (int type = 0; type < state.teamTypes().size(); ++type) {
        for (int unit = 0; unit < state.teamTypes()[type].units; ++unit)
            points.append(IncidentSharing::teamPoint(type, unit));
    }
    for (int id = 0; id < alarms.itemCount(); ++id) {
        points.append(IncidentSharing::shelvePoint(alarms.alarm(id)->item.tag));
        points.append(IncidentSharing::acknowledgementPoint(alarms.alarm(id)->item.tag));
    }
    for (auto it = ship.boundaries.cbegin(); it != ship.boundaries.cend(); ++it)
        points.append(IncidentSharing::boundaryPoint(it.key()));
    points.removeDuplicates();
    return points;
}

IncidentTracker::IncidentTracker(Catalogue ship, IncidentState& state, IncidentCommands& commands, AlarmState& alarms,
                                 ItemReader read, IncidentStore& store, IncidentSharing& sharing, QObject* parent)
    : QObject(parent)
    , ship_(std::move(ship))
    , state_(state)
    , commands_(commands)
    , alarms_(alarms)
    , read_(std::move(read))
    , store_(store)
    , sharing_(sharing)
    , recorded_(store.lastActionValues())
    , settle_(new QTimer(this))
{
    // A point never seen before starts its history with the value the item
    // starts with, so an export always knows where each point began.
    QSet<QString> seen;
    for (const IncidentStore::Sample& sample : store.lastSamplesAt(now()))
        seen.insert(sample.tag);
    for (int id = 0; id < alarms.itemCount(); ++id) {
        const Reading reading = read_(id);
        awaiting_.insert(id, reading.awaiting);
        if (!seen.contains(alarms.alarm(id)->item.tag))
            recordValues(id, reading, now(), true);
    }
    for (auto it = ship_.compartments.cbegin(); it != ship_.compartments.cend(); ++it)
        damage_points_.insert(IncidentSharing::damagePoint(it.key()), it.key());
    for (auto it = ship_.boundaries.cbegin(); it != ship_.boundaries.cend(); ++it)
        boundary_points_.insert(IncidentSharing::boundaryPoint(it.key()), it.key());
    for (int type = 0; type < state.teamTypes().size(); ++type) {
        for (int unit = 0; unit < state.teamTypes()[type].units; ++unit)
            team_points_.insert(IncidentSharing::teamPoint(type, unit), {type, unit});
    }
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(settle_, &QTimer::timeout, this, &IncidentTracker::settle);
    connect(&sharing, &IncidentSharing::linked, this, [this] {
        heard_.clear();
        settle_->start();
    });

    connect(&commands, &IncidentCommands::damaged, this, [this](quint64 compartment, int response) {
        IncidentEvent about;
        about.kind = Kind::ManualDamage;
        about.place = compartmentPlace(compartment);
        about.damage = damageText(response);
        publishAction(IncidentSharing::damagePoint(compartment), QString::number(response), about);
    });
    connect(&commands, &IncidentCommands::recovered, this, [this](quint64 compartment) {
        publishAction(Kind::Recovery, IncidentSharing::damagePoint(compartment), QStringLiteral("0"),
                      compartmentPlace(compartment));
    });
    connect(&commands, &IncidentCommands::teamDeployed, this, &IncidentTracker::onTeamDeployed);
    connect(&commands, &IncidentCommands::teamWithdrawn, this, [this](const IncidentState::Team& team) {
        publishAction(Kind::TeamWithdrawn, IncidentSharing::teamPoint(team.type, team.unit), kWithdrawn,
                      teamPlace(team));
    });
    connect(&commands, &IncidentCommands::boundaryChanged, this, [this](quint64 id, bool set) {
        publishAction(set ? Kind::BoundarySet : Kind::BoundaryLifted, IncidentSharing::boundaryPoint(id),
                      QString::number(int(set)), ship_.boundaries.value(id));
    });
    connect(&alarms, &AlarmState::alarmRaised, this, &IncidentTracker::onRaised);
    connect(&alarms, &AlarmState::alarmCleared, this, &IncidentTracker::onCleared);
    connect(&alarms, &AlarmState::alarmChanged, this, &IncidentTracker::onAlarmChanged);
    // The item's flag does not carry these to the other consoles: shared, and recorded with who acknowledged.
    connect(&alarms, &AlarmState::acknowledgedWithoutFlag, this, [this](int id) {
        publishAction(IncidentSharing::acknowledgementPoint(alarms_.alarm(id)->item.tag), QString(),
                      itemEvent(Kind::Acknowledged, id));
    });
    connect(&alarms, &AlarmState::acknowledgementSent, this,
            [this](int id) { acknowledged_here_.insert(alarms_.alarm(id)->item.tag, operator_); });
    // Nobody acted when a shelving runs out, so nothing is shared: each console records it itself.
    connect(&alarms, &AlarmState::shelvingExpired, this, [this](int id) {
        IncidentEvent event = itemEvent(Kind::Unshelved, id);
        event.subject = IncidentSharing::shelvePoint(alarms_.alarm(id)->item.tag);
        event.place = tr("%1, 搁置到期").arg(event.place);
        store_.record(event);
    });
    // What the history holds goes in once the alarms are followed, so that a
    // shelving put back on a recalled alarm is known here (and its end shared).
    recallAlarms();
    seedTrends();
    for (auto it = recorded_.cbegin(); it != recorded_.cend(); ++it) {
        IncidentSharing::Value value;
        IncidentEvent unused;
        if (IncidentSharing::Value::parse(it.value(), &value) && apply(it.key(), value, &unused)) {
            known_.insert(it.key(), value);
            from_history_.insert(it.key());
        }
    }
    connect(&sharing, &IncidentSharing::received, this, &IncidentTracker::onReceived);
}

void IncidentTracker::recallAlarms()
{
    QVector<AlarmState::Recalled> listed;
    QString firstOut;
    qint64 firstOutRaised = -1;
    const QHash<QString, IncidentStore::LastAlarm> last
        = store_.lastAlarms(IncidentSharing::acknowledgementPoint(QString()));
    for (auto it = last.cbegin(); it != last.cend(); ++it) {
        const IncidentStore::LastAlarm& alarm = it.value();
        // The newest first-out raise is the one of the incident under way, if any is.
        if (alarm.firstOut && alarm.raised > firstOutRaised) {
            firstOut = it.key();
            firstOutRaised = alarm.raised;
        }
        if (alarm.cleared && alarm.acknowledged)
            continue;
        listed.append({it.key(), alarm.raised,
                       alarm.cleared            ? AlarmState::State::UnacknowledgedCleared
                           : alarm.acknowledged ? AlarmState::State::AcknowledgedActive
                                                : AlarmState::State::UnacknowledgedActive});
    }
    alarms_.recall(listed, firstOut);
}

void IncidentTracker::settle()
{
    putBackUnheard();
    // The values at booking have come: the recalled alarms are settled by them.
    const QVector<int> listed = alarms_.listed();
    for (int id : listed) {
        if (!alarms_.alarm(id)->recalled)
            continue;
        const Reading reading = read_(id);
        const bool awaited = alarms_.alarm(id)->state == AlarmState::State::UnacknowledgedActive;
        alarms_.reconcile(id, reading.abnormal, reading.awaiting);
        awaiting_[id] = reading.awaiting;
        if (awaited && alarms_.alarm(id)->state == AlarmState::State::AcknowledgedActive)
            recordAcknowledgement(now(), id);
    }
}

void IncidentTracker::seedTrends()
{
    const qint64 to = now();
    QHash<QString, std::deque<TrendBuffer::Sample>> trends;
    for (const IncidentStore::Sample& sample : store_.samples(to - kTrendMs, to))
        trends[sample.tag].push_back({sample.msecs, sample.shown});
    for (auto it = trends.cbegin(); it != trends.cend(); ++it) {
        for (int id : alarms_.idsOfTag(it.key())) {
            if (read_(id).valueItem)
                alarms_.trend().seed(id, it.value());
        }
    }
}

QString IncidentTracker::itemPlace(int id) const
{
    const AlarmState::Item& item = alarms_.alarm(id)->item;
    return QStringLiteral("%1 %2 %3 (%4)")
        .arg(item.deckName, item.compartmentName, item.sensorName, item.tag)
        .simplified();
}

IncidentEvent IncidentTracker::itemEvent(Kind kind, int id, const QString& console) const
{
    const AlarmState::Alarm* alarm = alarms_.alarm(id);
    IncidentEvent event{now(), kind, alarm->item.tag, itemPlace(id), console, QString()};
    event.damage = ship_.itemDamage.value(alarm->item.tag);
    event.priority = alarmpriority::name(alarm->item.priority);
    return event;
}

QString IncidentTracker::damageText(int responses) const
{
    return ship_.damageName ? ship_.damageName(responses) : QString();
}

QString IncidentTracker::compartmentPlace(quint64 compartment) const
{
    return ship_.compartments.value(compartment, QString::number(compartment));
}

void IncidentTracker::onRaised(int id)
{
    const AlarmState::Alarm& alarm = *alarms_.alarm(id);
    IncidentEvent event = itemEvent(Kind::AlarmRaised, id);
    // The list's raise time, not a later reading of the clock: a console
    // restarted from its history shows the alarm raised when it showed before.
    event.msecs = alarm.raised;
    event.firstOut = alarm.firstOut;
    store_.record(event);
    applyShelving(alarm.item.tag);
}

void IncidentTracker::onCleared(int id)
{
    store_.record(itemEvent(Kind::AlarmCleared, id));
}

void IncidentTracker::valueChanged(int id)
{
    if (!alarms_.alarm(id))
        return;
    const qint64 at = now();
    const Reading reading = read_(id);
    bool& was = awaiting_[id];
    const bool changed = reading.awaiting != was;
    recordValues(id, reading, at, changed);
    // A recalled alarm's flag is only judged once the values after the restart have settled.
    if (changed && was && reading.abnormal && !alarms_.alarm(id)->recalled)
        recordAcknowledgement(at, id);
    was = reading.awaiting;
}

void IncidentTracker::recordAcknowledgement(qint64 at, int id)
{
    // The flag does not say who set it: this console knows only its own.
    const QString& tag = alarms_.alarm(id)->item.tag;
    const bool ours = acknowledged_here_.contains(tag);
    IncidentEvent event = itemEvent(Kind::Acknowledged, id, ours ? sharing_.console() : QString());
    event.msecs = at;
    event.operatorName = acknowledged_here_.take(tag);
    store_.record(event);
}

void IncidentTracker::recordValues(int id, const Reading& reading, qint64 at, bool withAcknowledgement)
{
    const AlarmState::Item& item = alarms_.alarm(id)->item;
    store_.recordSample(item.tag, at, reading.primary, reading.shown, reading.abnormal);
    // The acknowledgement point's value, written at every change so a replay
    // reproduces the acknowledgements.
    const double flag = reading.awaiting ? 0.0 : 1.0;
    if (withAcknowledgement && !item.confirmTag.isEmpty())
        store_.recordSample(item.confirmTag, at, flag, flag, reading.awaiting);
}

void IncidentTracker::onTeamDeployed(const IncidentState::Team& team)
{
    publishAction(Kind::TeamDeployed, IncidentSharing::teamPoint(team.type, team.unit), teamPayload(team),
                  teamPlace(team));
}

void IncidentTracker::onAlarmChanged(int id)
{
    const AlarmState::Alarm* alarm = alarms_.alarm(id);
    bool& shelved = shelved_[alarm->item.tag];
    if (alarm->shelved == shelved)
        return;
    shelved = alarm->shelved;
    if (applying_)
        return;
    const QString point = IncidentSharing::shelvePoint(alarm->item.tag);
    if (alarm->shelved) {
        state_.setShelving(alarm->item.tag, {alarm->shelvedUntil, alarm->shelveReason});
        publishAction(point, QString::number(alarm->shelvedUntil) + kField + alarm->shelveReason,
                      itemEvent(Kind::Shelved, id));
    } else if (alarm->shelvedUntil > now()) {
        state_.setShelving(alarm->item.tag, {});
        publishAction(point, QStringLiteral("0") + kField, itemEvent(Kind::Unshelved, id));
    } else {
        state_.setShelving(alarm->item.tag, {});
    }
}

void IncidentTracker::applyShelving(const QString& tag)
{
    const QList<int> ids = alarms_.idsOfTag(tag);
    const std::optional<IncidentState::Shelving> shelving = state_.shelvingOf(tag);
    if (!pending_shelving_.contains(tag) || ids.isEmpty())
        return;
    const int id = ids.first();
    applying_ = true;
    if (alarms_.alarm(id)->shelved)
        alarms_.unshelve(id);
    // An alarm not listed here yet cannot be shelved: it waits for its raise.
    const bool done
        = !shelving || shelving->until <= now() || alarms_.shelveUntil(id, shelving->reason, shelving->until);
    applying_ = false;
    if (done)
        pending_shelving_.remove(tag);
}

int IncidentTracker::describeTag(const QString& tag, IncidentEvent* event) const
{
    const QList<int> ids = alarms_.idsOfTag(tag);
    if (ids.isEmpty()) {
        event->place = tag;
        return -1;
    }
    const IncidentEvent about = itemEvent(event->kind, ids.first());
    event->place = about.place;
    event->priority = about.priority;
    event->damage = about.damage;
    return ids.first();
}

void IncidentTracker::publishAction(Kind kind, const QString& point, const QString& payload, const QString& place)
{
    IncidentEvent about;
    about.kind = kind;
    about.place = place;
    publishAction(point, payload, about);
}

void IncidentTracker::publishAction(const QString& point, const QString& payload, IncidentEvent about)
{
    const IncidentSharing::Value value = sharing_.publish(point, payload);
    known_.insert(point, value);
    about.msecs = value.msecs;
    about.subject = point;
    about.console = value.console;
    about.value = value.format();
    about.operatorName = operator_;
    record(about);
}

void IncidentTracker::record(const IncidentEvent& event)
{
    if (recorded_.value(event.subject) == event.value)
        return;
    recorded_.insert(event.subject, event.value);
    store_.record(event);
}

void IncidentTracker::onReceived(const QString& point, const IncidentSharing::Value& value)
{
    heard_.insert(point);
    const auto held = known_.constFind(point);
    const bool caughtUp = from_history_.remove(point) > 0;
    IncidentEvent event{value.msecs, Kind::ManualDamage, point, QString(), value.console, value.format()};
    if (held != known_.cend()) {
        // Known from the history already: told once as what happened while away, not recorded again.
        if (held->format() == value.format()) {
            if (caughtUp && apply(point, value, &event) && !hasRunOut(point, value))
                emit remoteAction(event, true);
            return;
        }
        // The server holds an older action than this console knows: put it back.
        if (isNewer(*held, value)) {
            sharing_.republish(point, *held);
            return;
        }
    }
    // This console's team, displaced from its unit by another console's deployment.
    std::optional<IncidentState::Team> displaced;
    if (team_points_.contains(point) && held != known_.cend() && held->console == sharing_.console()
        && held->payload != kWithdrawn && value.payload != kWithdrawn) {
        const QPair<int, int> unit = team_points_.value(point);
        displaced = state_.teamAt(unit.first, unit.second);
    }
    known_.insert(point, value);
    if (!apply(point, value, &event))
        return;
    record(event);
    emit remoteAction(event, false);
    if (displaced)
        commands_.deployTeam(displaced->type, displaced->deck, displaced->position, displaced->compartment);
}

void IncidentTracker::putBackUnheard()
{
    for (auto it = known_.cbegin(); it != known_.cend(); ++it) {
        if (!heard_.contains(it.key()))
            sharing_.republish(it.key(), it.value());
    }
}

bool IncidentTracker::apply(const QString& point, const IncidentSharing::Value& value, IncidentEvent* event)
{
    if (damage_points_.contains(point)) {
        const quint64 compartment = damage_points_.value(point);
        const int response = value.payload.toInt();
        event->kind = response > 0 ? Kind::ManualDamage : Kind::Recovery;
        event->place = compartmentPlace(compartment);
        event->damage = damageText(response);
        state_.setDamage(compartment, qMax(0, response));
    } else if (team_points_.contains(point)) {
        const QPair<int, int> unit = team_points_.value(point);
        applyTeam(unit.first, unit.second, value.payload, event);
    } else if (boundary_points_.contains(point)) {
        const quint64 id = boundary_points_.value(point);
        const bool set = value.payload.toInt() != 0;
        event->kind = set ? Kind::BoundarySet : Kind::BoundaryLifted;
        event->place = ship_.boundaries.value(id);
        state_.setBoundary(id, set);
    } else if (point.startsWith(IncidentSharing::shelvePoint(QString()))) {
        const QString tag = point.mid(IncidentSharing::shelvePoint(QString()).size());
        const qint64 until = shelvedUntil(value);
        event->kind = until > 0 ? Kind::Shelved : Kind::Unshelved;
        describeTag(tag, event);
        // One that has run out is over: every console saw it end and recorded that itself.
        state_.setShelving(tag, {until > now() ? until : 0, value.payload.section(kField, 1)});
        pending_shelving_.insert(tag);
        applyShelving(tag);
    } else if (point.startsWith(IncidentSharing::acknowledgementPoint(QString()))) {
        event->kind = Kind::Acknowledged;
        const int id = describeTag(point.mid(IncidentSharing::acknowledgementPoint(QString()).size()), event);
        if (id >= 0)
            alarms_.acknowledgedElsewhere(id, value.msecs, value.console);
    } else {
        return false;
    }
    return true;
}

qint64 IncidentTracker::shelvedUntil(const IncidentSharing::Value& value)
{
    return qMax<qint64>(0, value.payload.section(kField, 0, 0).toLongLong());
}

bool IncidentTracker::hasRunOut(const QString& point, const IncidentSharing::Value& value) const
{
    return point.startsWith(IncidentSharing::shelvePoint(QString())) && shelvedUntil(value) > 0
        && shelvedUntil(value) <= now();
}

void IncidentTracker::applyTeam(int type, int unit, const QString& payload, IncidentEvent* event)
{
    const std::optional<IncidentState::Team> arriving = teamFrom(type, unit, payload);
    const std::optional<IncidentState::Team> standing = state_.teamAt(type, unit);
    const IncidentState::Team shown = arriving ? *arriving : standing ? *standing : IncidentState::Team{type, unit, 0, QPointF(), 0};
    event->kind = arriving ? Kind::TeamDeployed : Kind::TeamWithdrawn;
    event->place = teamPlace(shown);
    if (arriving)
        state_.placeTeam(*arriving);
    else
        state_.clearUnit(type, unit);
}

QString IncidentTracker::teamPayload(const IncidentState::Team& team) const
{
    return QStringList{QString::number(team.deck), QString::number(team.compartment),
                       QString::number(team.position.x(), 'f', kPositionDecimals),
                       QString::number(team.position.y(), 'f', kPositionDecimals)}
        .join(kField);
}

std::optional<IncidentState::Team> IncidentTracker::teamFrom(int type, int unit, const QString& payload) const
{
    const QStringList fields = payload.split(kField);
    if (fields.size() != kTeamFields)
        return std::nullopt;
    bool deckOk = false;
    bool xOk = false;
    bool yOk = false;
    IncidentState::Team team{type, unit, 0, QPointF(), 0};
    team.deck = fields[0].toULongLong(&deckOk);
    const quint64 compartment = fields[1].toULongLong();
    team.compartment = ship_.compartments.contains(compartment) ? compartment : 0;
    team.position = QPointF(fields[2].toDouble(&xOk), fields[3].toDouble(&yOk));
    // A team for a deck this ship does not have cannot be shown; it counts as withdrawn.
    if (!deckOk || !xOk || !yOk || !ship_.decks.contains(team.deck))
        return std::nullopt;
    return team;
}

QString IncidentTracker::teamPlace(const IncidentState::Team& team) const
{
    const QString name = team.type >= 0 && team.type < state_.teamTypes().size()
        ? state_.teamTypes()[team.type].name
        : QString();
    return (name + QLatin1Char(' ') + (team.compartment ? compartmentPlace(team.compartment) : QString())).trimmed();
}
