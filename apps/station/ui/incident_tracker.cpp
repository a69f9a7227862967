#include "incident_tracker.h"

#include "alarm_feed.h"
#include "alarm_state.h"
#include "deck_plan.h"
#include "incident_store.h"

#include "config/damage_config.h"
#include "config/team_config.h"
#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"

#include <QDateTime>
#include <QLineF>
#include <QSet>

namespace {

using Kind = IncidentEvent::Kind;

const QChar kField = QLatin1Char(';');
const QString kWithdrawn = QStringLiteral("-");
constexpr int kTeamFields = 4;
constexpr qint64 kMsPerMinute = 60000;
// As far back as the alarm model keeps a trend.
constexpr qint64 kTrendMs = 60 * kMsPerMinute;
constexpr int kPositionDecimals = 2;
// Positions written with two decimals compare equal within this distance.
constexpr qreal kSamePlace = 0.5;

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

// The name of the damage responses \a responses (bits) as configured ("火灾+进水" for two).
QString damageText(int responses)
{
    const std::optional<harq::DamageResponse> response = DamageConfig::instance().response(responses);
    return response ? response->name() : QString();
}

} // namespace

QStringList IncidentTracker::sharedPoints(const Ship& ship)
{
    QStringList points;
    for (harq::Deck* deck : ship.decks()) {
        for (harq::Region* region : deck->regions())
            points.append(IncidentSharing::damagePoint(region->id()));
    }
    const TeamConfig& teams = TeamConfig::instance();
    for (std::size_t type = 0; type < teams.teamTypes(); ++type) {
        for (int unit = 0; unit < teams.countAt(type); ++unit)
            points.append(IncidentSharing::teamPoint(int(type), unit));
    }
    for (harq::Deck* deck : ship.decks()) {
        for (harq::Sensor* sensor : deck->sensors()) {
            for (int i = 0; i < sensor->itemCount(); ++i) {
                points.append(IncidentSharing::shelvePoint(sensor->itemAt(i)->tag()));
                points.append(IncidentSharing::acknowledgementPoint(sensor->itemAt(i)->tag()));
            }
        }
    }
    for (const Ship::Boundary& boundary : ship.boundaries())
        points.append(IncidentSharing::boundaryPoint(boundary.id));
    points.removeDuplicates();
    return points;
}

IncidentTracker::IncidentTracker(const Ship& ship, DeckPlan& plan, IncidentStore& store, IncidentSharing& sharing,
                                 QObject* parent)
    : QObject(parent)
    , ship_(ship)
    , plan_(plan)
    , store_(store)
    , sharing_(sharing)
    , open_alarms_(store.openAlarms())
    , recorded_(store.lastActionValues())
{
    // A point never seen before starts its history with the value the item
    // starts with, so an export always knows where each point began.
    QSet<QString> seen;
    for (const IncidentStore::Sample& sample : store.lastSamplesAt(now()))
        seen.insert(sample.tag);
    for (harq::Deck* deck : ship.decks()) {
        for (harq::Sensor* sensor : deck->sensors()) {
            for (int i = 0; i < sensor->itemCount(); ++i) {
                harq::SensorItem* item = sensor->itemAt(i);
                watchItem(sensor, item);
                if (!seen.contains(item->tag()))
                    recordValues(item, now(), true);
            }
        }
        for (harq::Region* region : deck->regions())
            damage_points_.insert(IncidentSharing::damagePoint(region->id()), region);
    }

    for (const Ship::Boundary& boundary : ship.boundaries())
        boundary_points_.insert(IncidentSharing::boundaryPoint(boundary.id), boundary.id);

    // The ship's own stations fill the first units of each team.
    const TeamConfig& teams = TeamConfig::instance();
    units_.resize(int(teams.teamTypes()));
    for (std::size_t type = 0; type < teams.teamTypes(); ++type) {
        units_[int(type)].resize(teams.countAt(type));
        for (int unit = 0; unit < teams.countAt(type); ++unit)
            team_points_.insert(IncidentSharing::teamPoint(int(type), unit), {int(type), unit});
    }
    for (const Ship::Team& team : plan.teams()) {
        const std::size_t type = teams.teamIndex(team.name);
        if (type >= teams.teamTypes())
            continue;
        for (auto& unit : units_[int(type)]) {
            if (!unit) {
                unit = team;
                break;
            }
        }
    }

    connect(&plan, &DeckPlan::damagedByHand, this, &IncidentTracker::onDamage);
    connect(&plan, &DeckPlan::recoveredByHand, this, [this](harq::Region* compartment) { onDamage(compartment, 0); });
    connect(&plan, &DeckPlan::teamDeployed, this, &IncidentTracker::onTeamDeployed);
    connect(&plan, &DeckPlan::teamWithdrawn, this, &IncidentTracker::onTeamWithdrawn);
    connect(&plan, &DeckPlan::boundarySetChanged, this, [this](quint64 id, bool set) {
        if (!applying_)
            publishAction(set ? Kind::BoundarySet : Kind::BoundaryLifted, IncidentSharing::boundaryPoint(id),
                          QString::number(int(set)), boundaryPlace(id));
    });
    connect(&sharing, &IncidentSharing::received, this, &IncidentTracker::onReceived);
}

void IncidentTracker::watchItem(const harq::Sensor* sensor, harq::SensorItem* item)
{
    sensors_.insert(item, sensor);
    items_.insert(item->tag(), item);
    awaiting_.insert(item, item->needConfirm());
    connect(item, &harq::SensorItem::stateChanged, this, &IncidentTracker::onItemState);
    connect(item, &harq::SensorItem::valueChanged, this, &IncidentTracker::onItemValue);
}

QString IncidentTracker::itemPlace(const harq::SensorItem* item) const
{
    const harq::Sensor* sensor = sensors_.value(item);
    if (!sensor)
        return item->tag();
    const harq::Region* compartment = ship_.compartmentOf(sensor);
    return QStringLiteral("%1 %2 %3 (%4)")
        .arg(sensor->deck() ? sensor->deck()->name() : QString(), compartment ? compartment->name() : QString(),
             sensor->nameAndCode(), item->tag())
        .simplified();
}

QString IncidentTracker::boundaryPlace(quint64 id) const
{
    for (const Ship::Boundary& boundary : ship_.boundaries()) {
        if (boundary.id == id) {
            const harq::Deck* deck = ship_.deckById(boundary.deck);
            return tr("%1 %2 (%3)")
                .arg(deck ? deck->name() : QString(), boundary.smoke ? tr("防烟边界") : tr("防火边界"))
                .arg(id)
                .simplified();
        }
    }
    return QString::number(id);
}

QString IncidentTracker::compartmentPlace(const harq::Region* compartment) const
{
    return QStringLiteral("%1 %2")
        .arg(compartment->deck() ? compartment->deck()->name() : QString(), compartment->nameAndCode())
        .simplified();
}

IncidentEvent IncidentTracker::itemEvent(Kind kind, const harq::SensorItem* item, const QString& console) const
{
    IncidentEvent event{now(), kind, item->tag(), itemPlace(item), console, QString()};
    const harq::Sensor* sensor = sensors_.value(item);
    if (sensor && sensor->viewGroup())
        event.damage = damageText(sensor->viewGroup()->responseType());
    if (const AlarmState::Alarm* alarm = alarms_ && feed_ ? alarms_->alarm(feed_->idOf(item)) : nullptr)
        event.priority = alarmpriority::name(alarm->item.priority);
    return event;
}

void IncidentTracker::onItemState(harq::SensorItem* item)
{
    IncidentEvent event = itemEvent(Kind::AlarmRaised, item);
    if (item->isAbnormal()) {
        // Raised before a restart and still raised: the same alarm, already in the history.
        if (open_alarms_.remove(item->tag()) > 0)
            return;
        event.kind = Kind::AlarmRaised;
    } else {
        open_alarms_.remove(item->tag());
        event.kind = Kind::AlarmCleared;
    }
    store_.record(event);
}

void IncidentTracker::onItemValue(harq::SensorItem* item)
{
    const qint64 at = now();
    bool& was = awaiting_[item];
    const bool changed = item->needConfirm() != was;
    recordValues(item, at, changed);
    if (changed && was && item->isAbnormal()) {
        // The flag does not say who set it: this console knows only its own.
        const bool ours = acknowledged_here_.contains(item->tag());
        recordAcknowledgement(at, item, ours, acknowledged_here_.take(item->tag()));
    }
    was = item->needConfirm();
}

void IncidentTracker::recordValues(const harq::SensorItem* item, qint64 at, bool withAcknowledgement)
{
    store_.recordSample(item->tag(), at, item->valuePrimary(), item->value(), item->isAbnormal());
    // The acknowledgement point's value, written at every change so a replay
    // reproduces the acknowledgements.
    const bool awaiting = item->needConfirm();
    const double flag = awaiting ? 0.0 : 1.0;
    if (withAcknowledgement && !item->confirmTag().isEmpty())
        store_.recordSample(item->confirmTag(), at, flag, flag, awaiting);
}

void IncidentTracker::recordAcknowledgement(qint64 at, const harq::SensorItem* item, bool ours, const QString& by)
{
    // The server's flag does not say who set it: this console knows only its own.
    IncidentEvent event = itemEvent(Kind::Acknowledged, item, ours ? sharing_.console() : QString());
    event.msecs = at;
    event.operatorName = by;
    store_.record(event);
}

void IncidentTracker::onDamage(harq::Region* compartment, int response)
{
    if (applying_)
        return;
    IncidentEvent about;
    about.kind = response > 0 ? Kind::ManualDamage : Kind::Recovery;
    about.place = compartmentPlace(compartment);
    about.damage = damageText(response);
    publishAction(IncidentSharing::damagePoint(compartment->id()), QString::number(response), about);
}

void IncidentTracker::onTeamDeployed(const Ship::Team& team)
{
    if (applying_)
        return;
    const std::size_t type = TeamConfig::instance().teamIndex(team.name);
    if (type >= std::size_t(units_.size()))
        return;
    auto& units = units_[int(type)];
    for (int unit = 0; unit < units.size(); ++unit) {
        if (!units[unit]) {
            units[unit] = team;
            publishAction(Kind::TeamDeployed, IncidentSharing::teamPoint(int(type), unit), teamPayload(team),
                          teamPlace(team));
            return;
        }
    }
    qWarning("incident: every %s is out; this deployment is not shared", qPrintable(team.name));
}

void IncidentTracker::onTeamWithdrawn(const Ship::Team& team)
{
    if (applying_)
        return;
    const std::optional<TeamUnit> unit = unitOf(team);
    if (!unit)
        return;
    units_[unit->type][unit->unit].reset();
    publishAction(Kind::TeamWithdrawn, IncidentSharing::teamPoint(unit->type, unit->unit), kWithdrawn,
                  teamPlace(team));
}

void IncidentTracker::followAlarms(AlarmState& alarms, const AlarmFeed& feed)
{
    alarms_ = &alarms;
    feed_ = &feed;
    alarms.setKnownRaised(store_.openAlarms());
    const qint64 to = now();
    QHash<QString, std::deque<TrendBuffer::Sample>> trends;
    for (const IncidentStore::Sample& sample : store_.samples(to - kTrendMs, to))
        trends[sample.tag].push_back({sample.msecs, sample.shown});
    for (auto it = trends.cbegin(); it != trends.cend(); ++it) {
        const harq::SensorItem* item = items_.value(it.key());
        if (item && item->isValueItem())
            alarms.trend().seed(feed.idOf(item), it.value());
    }

    connect(&alarms, &AlarmState::alarmChanged, this, &IncidentTracker::onAlarmChanged);
    // The item's flag does not carry these to the other consoles: shared, and recorded with who acknowledged.
    connect(&alarms, &AlarmState::acknowledgedWithoutFlag, this, [this](int id) {
        if (const harq::SensorItem* item = feed_->itemOf(id))
            publishAction(IncidentSharing::acknowledgementPoint(item->tag()), QString(),
                          itemEvent(Kind::Acknowledged, item));
    });
    connect(&alarms, &AlarmState::acknowledgementSent, this, [this](int id) {
        if (const harq::SensorItem* item = feed_->itemOf(id))
            acknowledged_here_.insert(item->tag(), operator_);
    });
    // Nobody acted when a shelving runs out, so nothing is shared: each console records it itself.
    connect(&alarms, &AlarmState::shelvingExpired, this, [this](int id) {
        if (const harq::SensorItem* item = feed_->itemOf(id)) {
            IncidentEvent event = itemEvent(Kind::Unshelved, item);
            event.subject = IncidentSharing::shelvePoint(item->tag());
            event.place = tr("%1, 搁置到期").arg(event.place);
            store_.record(event);
        }
    });
    connect(&alarms, &AlarmState::alarmRaised, this,
            [this](int id) { applyShelving(alarms_->alarm(id)->item.tag); });
    for (auto it = pending_shelving_.cbegin(); it != pending_shelving_.cend(); ++it)
        QMetaObject::invokeMethod(this, [this, tag = it.key()] { applyShelving(tag); }, Qt::QueuedConnection);
}

void IncidentTracker::onAlarmChanged(int id)
{
    const AlarmState::Alarm* alarm = alarms_->alarm(id);
    const harq::SensorItem* item = feed_->itemOf(id);
    if (!alarm || !item)
        return;
    bool& shelved = shelved_[item->tag()];
    if (!alarm || alarm->shelved == shelved)
        return;
    shelved = alarm->shelved;
    const QString point = IncidentSharing::shelvePoint(item->tag());
    if (applying_)
        return;
    if (alarm->shelved)
        publishAction(point, QString::number(alarm->shelvedUntil) + kField + alarm->shelveReason,
                      itemEvent(Kind::Shelved, item));
    else if (alarm->shelvedUntil > now())
        publishAction(point, QStringLiteral("0") + kField, itemEvent(Kind::Unshelved, item));
}

void IncidentTracker::applyShelving(const QString& tag)
{
    const auto pending = pending_shelving_.constFind(tag);
    harq::SensorItem* item = items_.value(tag);
    if (!alarms_ || !item || pending == pending_shelving_.cend())
        return;
    const qint64 left = pending->first - now();
    const int id = feed_->idOf(item);
    const AlarmState::Alarm* alarm = alarms_->alarm(id);
    applying_ = true;
    if (alarm && alarm->shelved)
        alarms_->unshelve(id);
    // An alarm not listed here yet cannot be shelved: it waits for its raise.
    const int minutes = int((left + kMsPerMinute - 1) / kMsPerMinute);
    const bool done = left <= 0 || alarms_->shelve(id, pending->second, minutes);
    applying_ = false;
    if (done)
        pending_shelving_.remove(tag);
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
    const QString text = value.format();
    applied_.insert(point, text);
    about.msecs = value.msecs;
    about.subject = point;
    about.console = value.console;
    about.value = text;
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
    const QString text = value.format();
    if (applied_.value(point) == text)
        return;
    applied_.insert(point, text);
    IncidentEvent event{value.msecs, Kind::ManualDamage, point, QString(), value.console, text};
    applying_ = true;
    bool known = true;
    if (harq::Region* compartment = damage_points_.value(point)) {
        const int response = value.payload.toInt();
        event.kind = response > 0 ? Kind::ManualDamage : Kind::Recovery;
        event.place = compartmentPlace(compartment);
        event.damage = damageText(response);
        if (response > 0)
            plan_.damageCompartment(compartment, response);
        else
            plan_.recoverCompartment(compartment);
    } else if (team_points_.contains(point)) {
        applyTeam(team_points_.value(point), value.payload, &event);
    } else if (boundary_points_.contains(point)) {
        const quint64 id = boundary_points_.value(point);
        const bool set = value.payload.toInt() != 0;
        event.kind = set ? Kind::BoundarySet : Kind::BoundaryLifted;
        event.place = boundaryPlace(id);
        plan_.setBoundarySet(id, set);
    } else if (point.startsWith(IncidentSharing::shelvePoint(QString()))) {
        const QString tag = point.mid(IncidentSharing::shelvePoint(QString()).size());
        const qint64 until = value.payload.section(kField, 0, 0).toLongLong();
        event.kind = until > 0 ? Kind::Shelved : Kind::Unshelved;
        if (const harq::SensorItem* item = items_.value(tag)) {
            const IncidentEvent about = itemEvent(event.kind, item);
            event.place = about.place;
            event.priority = about.priority;
            event.damage = about.damage;
        } else {
            event.place = tag;
        }
        pending_shelving_.insert(tag, {until, value.payload.section(kField, 1)});
        applyShelving(tag);
    } else if (point.startsWith(IncidentSharing::acknowledgementPoint(QString()))) {
        const QString tag = point.mid(IncidentSharing::acknowledgementPoint(QString()).size());
        event.kind = Kind::Acknowledged;
        event.place = tag;
        if (const harq::SensorItem* item = items_.value(tag)) {
            const IncidentEvent about = itemEvent(event.kind, item);
            event.place = about.place;
            event.priority = about.priority;
            event.damage = about.damage;
            if (alarms_)
                alarms_->acknowledgedElsewhere(feed_->idOf(item), value.msecs, value.console);
        }
    } else {
        known = false;
    }
    applying_ = false;
    if (!known)
        return;
    record(event);
    emit remoteAction(event);
}

void IncidentTracker::applyTeam(const TeamUnit& unit, const QString& payload, IncidentEvent* event)
{
    std::optional<Ship::Team>& standing = units_[unit.type][unit.unit];
    const QString name = TeamConfig::instance().nameAt(std::size_t(unit.type));
    const std::optional<Ship::Team> arriving = teamFrom(name, payload);
    const std::optional<Ship::Team>& shown = arriving ? arriving : standing;
    event->kind = arriving ? Kind::TeamDeployed : Kind::TeamWithdrawn;
    event->place = teamPlace(shown ? *shown : Ship::Team{name, 0, QPointF(), nullptr});
    if (standing)
        plan_.removeTeam(*standing);
    standing = arriving;
    if (arriving)
        plan_.addTeam(*arriving);
}

std::optional<IncidentTracker::TeamUnit> IncidentTracker::unitOf(const Ship::Team& team) const
{
    for (int type = 0; type < units_.size(); ++type) {
        for (int unit = 0; unit < units_[type].size(); ++unit) {
            const std::optional<Ship::Team>& standing = units_[type][unit];
            if (standing && standing->name == team.name && standing->deck == team.deck
                && QLineF(standing->position, team.position).length() < kSamePlace)
                return TeamUnit{type, unit};
        }
    }
    return std::nullopt;
}

QString IncidentTracker::teamPayload(const Ship::Team& team) const
{
    return QStringList{QString::number(team.deck),
                       QString::number(team.compartment ? team.compartment->id() : 0),
                       QString::number(team.position.x(), 'f', kPositionDecimals),
                       QString::number(team.position.y(), 'f', kPositionDecimals)}
        .join(kField);
}

std::optional<Ship::Team> IncidentTracker::teamFrom(const QString& name, const QString& payload) const
{
    const QStringList fields = payload.split(kField);
    if (fields.size() != kTeamFields)
        return std::nullopt;
    bool deckOk = false;
    bool xOk = false;
    bool yOk = false;
    Ship::Team team;
    team.name = name;
    team.deck = fields[0].toULongLong(&deckOk);
    team.compartment = ship_.regionById(fields[1].toULongLong());
    team.position = QPointF(fields[2].toDouble(&xOk), fields[3].toDouble(&yOk));
    // A team for a deck this ship does not have cannot be shown; it counts as withdrawn.
    if (!deckOk || !xOk || !yOk || !ship_.deckById(team.deck))
        return std::nullopt;
    return team;
}

QString IncidentTracker::teamPlace(const Ship::Team& team) const
{
    return (team.name + QLatin1Char(' ') + (team.compartment ? compartmentPlace(team.compartment) : QString()))
        .trimmed();
}
