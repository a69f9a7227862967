#pragma once

#include <QMainWindow>

class AlarmList;
class DataLink;
class DeckPlan;
class DeckScene;
class DeckSwitcher;
class DeckViewComplex;
class EventLog;
class QLabel;
class Ship;

namespace harq {
class Deck;
class Region;
class Sensor;
class SensorItem;
}

/// The station's main window: the deck plan in the middle, the deck list on the
/// left, active alarms and the event log below, and in the status bar the
/// connection, the compartment under the pointer and the pointer position.
class StationWindow : public QMainWindow
{
    Q_OBJECT

public:
    StationWindow(const Ship& ship, DataLink& link, QWidget* parent = nullptr);

    /// Shows \a deck on the plan.
    void showDeck(harq::Deck* deck);

private:
    void buildToolBar();
    void buildDocks();
    void buildStatusBar();
    void connectLink();
    void acknowledge(harq::SensorItem* item);
    void onAlarmRaised(harq::Sensor* sensor, harq::SensorItem* item);
    void onAlarmCleared(harq::Sensor* sensor, harq::SensorItem* item);
    void showConnection(bool connected);
    void showSensor(harq::Sensor* sensor);

    const Ship& ship_;
    DataLink& link_;
    DeckScene* scene_;
    DeckViewComplex* view_;
    DeckPlan* plan_;
    DeckSwitcher* switcher_;
    AlarmList* alarms_;
    EventLog* log_;
    QLabel* connection_label_;
    QLabel* compartment_label_;
    QLabel* position_label_;
};
