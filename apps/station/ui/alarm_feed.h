#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QVector>

class AlarmSettings;
class AlarmState;
class ConsoleClock;
class Ship;

namespace harq {
class Sensor;
class SensorItem;
}

/// Ties the library's sensor items to the console's alarm state: adds every
/// item of the ship to it (named and ranked by the settings), hands it each
/// item's state and acknowledgement changes, records each value item's values
/// in its trend, and tells the widgets which library object an alarm id stands
/// for and back. Ids and sensor keys follow the order of the ship's decks,
/// sensors and items.
class AlarmFeed : public QObject
{
    Q_OBJECT

public:
    AlarmFeed(const Ship& ship, const AlarmSettings& settings, AlarmState& alarms, const ConsoleClock& clock,
              QObject* parent = nullptr);

    const AlarmState& alarms() const { return alarms_; }

    /// The alarm id of \a item; -1 for an item not of the ship.
    int idOf(const harq::SensorItem* item) const { return ids_.value(item, -1); }
    /// The ids of \a items, those not of the ship left out.
    QList<int> idsOf(const QList<harq::SensorItem*>& items) const;
    /// The item and the sensor of alarm \a id; null for an unknown id.
    harq::SensorItem* itemOf(int id) const { return items_.value(id); }
    harq::Sensor* sensorOf(int id) const { return sensors_.value(id); }
    /// The key the alarm state knows \a sensor by; -1 for a sensor not of the ship.
    int sensorKeyOf(const harq::Sensor* sensor) const { return sensor_keys_.value(sensor, -1); }

    /// A value item's value and stage ("66.0 (超过高限)"), a state item's "动作" or "正常".
    static QString valueText(const harq::SensorItem& item);

signals:
    /// The value of alarm \a id's item changed.
    void valueChanged(int id);

private:
    void onValueChanged(int id);

    AlarmState& alarms_;
    const ConsoleClock& clock_;
    QHash<const harq::SensorItem*, int> ids_;
    QHash<const harq::Sensor*, int> sensor_keys_;
    QVector<harq::SensorItem*> items_;
    QVector<harq::Sensor*> sensors_;
};
