#pragma once

#include "incident_event.h"
#include "incident_sharing.h"
#include "ship.h"

#include <QHash>
#include <QSet>
#include <QObject>
#include <QVector>

#include <optional>

class AlarmFeed;
class AlarmState;
class DeckPlan;
class IncidentStore;

namespace harq {
class Region;
class SensorItem;
}

/// Ties one station's incident together: writes every alarm transition,
/// acknowledgement and thinned value of the ship's sensor items to the history,
/// publishes what the operator does by hand on the plan (damage, recovery, team
/// deployed or withdrawn, boundary set or lifted) and in the alarm list (shelving) through the shared
/// points, and applies what other consoles publish, recording it too. So are
/// the acknowledgements the items' own flags do not carry (of a cleared alarm,
/// or of an item without an acknowledgement point).
///
/// A shelving that arrives before its alarm is raised here is applied when it
/// is; a shelving that runs out is not published (every console sees it end
/// and records it).
///
/// Every console records every shared action once, with the time and console
/// of the one who acted. After a restart the history is not written twice: an
/// alarm still raised in the history is not raised again when its value
/// returns, and a shared value already recorded is only applied to the plan.
class IncidentTracker : public QObject
{
    Q_OBJECT

public:
    /// Every shared point of \a ship: one per compartment, one per unit of each
    /// team of the team catalogue, two per sensor item tag (shelving, acknowledgement), one per
    /// damage boundary of the ship file.
    static QStringList sharedPoints(const Ship& ship);

    IncidentTracker(const Ship& ship, DeckPlan& plan, IncidentStore& store, IncidentSharing& sharing,
                    QObject* parent = nullptr);

    /// Gives \a alarms what the history knows (the raise times of alarms still
    /// standing, the last hour of every value item's trend) and shares its
    /// shelving; \a feed tells which item each alarm is. Both must outlive this object.
    void followAlarms(AlarmState& alarms, const AlarmFeed& feed);

    /// The operator logged in here, recorded with every action taken here; empty for none.
    void setOperatorName(const QString& name) { operator_ = name; }

signals:
    /// Another console did \a event (or did it before this one started), now applied here.
    void remoteAction(const IncidentEvent& event);

private:
    struct TeamUnit {
        int type = 0;
        int unit = 0;
    };

    void watchItem(const harq::Sensor* sensor, harq::SensorItem* item);
    void onItemState(harq::SensorItem* item);
    void onItemValue(harq::SensorItem* item);
    void recordValues(const harq::SensorItem* item, qint64 at, bool withAcknowledgement);
    void recordAcknowledgement(qint64 at, const harq::SensorItem* item, bool ours, const QString& by);
    void onAlarmChanged(int id);
    void applyShelving(const QString& tag);
    void onDamage(harq::Region* compartment, int response);
    void onTeamDeployed(const Ship::Team& team);
    void onTeamWithdrawn(const Ship::Team& team);
    void onReceived(const QString& point, const IncidentSharing::Value& value);
    void applyTeam(const TeamUnit& unit, const QString& payload, IncidentEvent* event);
    void publishAction(IncidentEvent::Kind kind, const QString& point, const QString& payload, const QString& place);
    /// Publishes \a payload on \a point and records \a about with the time, console and value written.
    void publishAction(const QString& point, const QString& payload, IncidentEvent about);
    /// An event of \a kind about \a item now: its place, priority and kind of damage.
    IncidentEvent itemEvent(IncidentEvent::Kind kind, const harq::SensorItem* item,
                            const QString& console = QString()) const;
    void record(const IncidentEvent& event);
    std::optional<TeamUnit> unitOf(const Ship::Team& team) const;
    QString teamPayload(const Ship::Team& team) const;
    std::optional<Ship::Team> teamFrom(const QString& name, const QString& payload) const;
    QString itemPlace(const harq::SensorItem* item) const;
    QString compartmentPlace(const harq::Region* compartment) const;
    QString boundaryPlace(quint64 id) const;
    QString teamPlace(const Ship::Team& team) const;

    const Ship& ship_;
    DeckPlan& plan_;
    IncidentStore& store_;
    IncidentSharing& sharing_;
    // Set while a shared value is applied to the plan, so the plan's signals
    // are not published back.
    bool applying_ = false;
    QHash<const harq::SensorItem*, const harq::Sensor*> sensors_;
    QHash<QString, harq::SensorItem*> items_;
    QHash<const harq::SensorItem*, bool> awaiting_;
    QHash<QString, qint64> open_alarms_;
    // Per shared point, the value last applied to the plan and last recorded.
    QHash<QString, QString> applied_;
    QHash<QString, QString> recorded_;
    QHash<QString, harq::Region*> damage_points_;
    QHash<QString, TeamUnit> team_points_;
    QHash<QString, quint64> boundary_points_;
    AlarmState* alarms_ = nullptr;
    const AlarmFeed* feed_ = nullptr;
    QHash<QString, bool> shelved_;
    QString operator_;
    // Tags whose acknowledgement this console wrote, until the server's flag
    // shows it: the operator logged in then (empty without log-in).
    QHash<QString, QString> acknowledged_here_;
    // Shelvings received, until applied: tag to (until, reason).
    QHash<QString, QPair<qint64, QString>> pending_shelving_;
    // Who stands where: [team type][unit].
    QVector<QVector<std::optional<Ship::Team>>> units_;
};
