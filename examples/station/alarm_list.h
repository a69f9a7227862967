#pragma once

#include <QHash>
#include <QWidget>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class Ship;

namespace harq {
class Sensor;
class SensorItem;
}

/// The active alarms of the whole ship, one row per abnormal sensor item: deck,
/// compartment, sensor, state, time raised and whether it is acknowledged. A row
/// goes when its item is normal again. Acknowledging asks the host to write the
/// item's acknowledgement point; the row shows it once the server confirms.
class AlarmList : public QWidget
{
    Q_OBJECT

public:
    enum Column { DeckColumn, CompartmentColumn, SensorColumn, StateColumn, TimeColumn, AckColumn, ColumnCount };

    explicit AlarmList(const Ship& ship, QWidget* parent = nullptr);

    int alarmCount() const { return rows_.size(); }

signals:
    void acknowledgeRequested(harq::SensorItem* item);
    /// The operator double-clicked the alarm of \a sensor.
    void sensorActivated(harq::Sensor* sensor);
    void alarmRaised(harq::Sensor* sensor, harq::SensorItem* item);
    void alarmCleared(harq::Sensor* sensor, harq::SensorItem* item);

private:
    void onStateChanged(harq::Sensor* sensor, harq::SensorItem* item);
    void refresh(QTreeWidgetItem* row, harq::SensorItem* item) const;
    void acknowledgeSelected();
    void acknowledgeAll();

    const Ship& ship_;
    QTreeWidget* tree_;
    QPushButton* ack_selected_;
    QPushButton* ack_all_;
    QHash<harq::SensorItem*, QTreeWidgetItem*> rows_;
    QHash<QTreeWidgetItem*, harq::Sensor*> sensors_;
};
