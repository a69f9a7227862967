#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>

class AlarmModel;
class DeckPlan;
class DeckViewComplex;
class EventLog;
class QContextMenuEvent;
class QMenu;
class ReactionRegion;
class TeamTag;

namespace harq {
class Sensor;
class SensorItem;
}

/// The menu a right click on the deck plan opens: on a compartment, damage or
/// recovery by hand and the deployment of a team of the team catalogue there;
/// on a team tag, the withdrawal of that team; on a damage boundary of the
/// ship file, whether the crew has set it. Every action goes to the event log.
///
/// Given the alarms (setAlarms()), a compartment's menu also acknowledges the
/// compartment's unacknowledged alarms, and a right click on a sensor opens a
/// menu that acknowledges the sensor's alarms or opens its detail; the host
/// carries those out (acknowledgeRequested, detailRequested).
class CompartmentMenu : public QObject
{
    Q_OBJECT

public:
    CompartmentMenu(DeckViewComplex* view, DeckPlan* plan, EventLog* log, QObject* parent = nullptr);

    /// The menu opened last, while it is open.
    QMenu* menu() const;
    /// The alarms the acknowledgement entries offer; null leaves them out.
    void setAlarms(const AlarmModel* alarms) { alarms_ = alarms; }

signals:
    void acknowledgeRequested(const QList<harq::SensorItem*>& items);
    void detailRequested(harq::Sensor* sensor);

private:
    void open(QContextMenuEvent* event);
    void fillForCompartment(ReactionRegion* region, QPointF pos);
    void fillForTeam(TeamTag* tag);
    void fillForBoundary(quint64 id);
    void fillForSensor(harq::Sensor* sensor);
    void addAcknowledge(const QString& text, const QList<harq::SensorItem*>& items);
    void addDamage(QMenu* damage, ReactionRegion* region, int response);

    DeckViewComplex* view_;
    DeckPlan* plan_;
    EventLog* log_;
    QPointer<QMenu> menu_;
    const AlarmModel* alarms_ = nullptr;
};
