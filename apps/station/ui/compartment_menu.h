#pragma once

#include "operator_session.h"

#include <QObject>
#include <QPointF>
#include <QPointer>

#include <functional>

class AlarmFeed;
class DeckPlan;
class DeckViewComplex;
class IncidentCommands;
class EventLog;
class QContextMenuEvent;
class QMenu;
class ReactionRegion;
class TeamTag;

namespace harq {
class Sensor;
}

/// The menu a right click on the deck plan opens: on a compartment, damage or
/// recovery by hand and the deployment of a team of the team catalogue there;
/// on a team tag, the withdrawal of that team; on a damage boundary of the
/// ship file, whether the crew has set it. The incident commands carry the
/// actions out; every action, and a deployment refused, goes to the event log.
///
/// Given the alarms (setAlarms()), a compartment's menu also acknowledges the
/// compartment's unacknowledged alarms, and a right click on a sensor opens a
/// menu that acknowledges the sensor's alarms or opens its detail; the host
/// carries those out (acknowledgeRequested, detailRequested).
///
/// Given a permission (setPermission()), damage, recovery, teams and
/// boundaries are carried out only when it allows them when chosen.
class CompartmentMenu : public QObject
{
    Q_OBJECT

public:
    CompartmentMenu(DeckViewComplex* view, DeckPlan* plan, IncidentCommands& commands, EventLog* log,
                    QObject* parent = nullptr);

    /// The menu opened last, while it is open.
    QMenu* menu() const;
    /// The alarms the acknowledgement entries offer; null leaves them out.
    void setAlarms(const AlarmFeed* alarms) { alarms_ = alarms; }
    /// Asked when the operator chooses an action; false leaves the plan as it
    /// is (the permission tells the operator why). None: every action is taken.
    using Permission = std::function<bool(OperatorSession::Action)>;
    void setPermission(Permission permission) { permission_ = std::move(permission); }

signals:
    /// The operator asks to acknowledge the alarms \a ids (ids of the alarm state).
    void acknowledgeRequested(const QList<int>& ids);
    void detailRequested(harq::Sensor* sensor);

private:
    void open(QContextMenuEvent* event);
    void fillForCompartment(ReactionRegion* region, QPointF pos);
    void fillForTeam(TeamTag* tag);
    void fillForBoundary(quint64 id);
    void fillForSensor(harq::Sensor* sensor);
    void addAcknowledge(const QString& text, const QList<int>& ids);
    void addDamage(QMenu* damage, ReactionRegion* region, int response);
    bool permits(OperatorSession::Action action) const;

    DeckViewComplex* view_;
    DeckPlan* plan_;
    IncidentCommands& commands_;
    EventLog* log_;
    QPointer<QMenu> menu_;
    const AlarmFeed* alarms_ = nullptr;
    Permission permission_;
    // Set when the last deployment asked for was refused (and told).
    bool refused_ = false;
};
