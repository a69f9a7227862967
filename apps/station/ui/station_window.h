#pragma once

#include <QList>
#include <QMainWindow>

class AlarmList;
class AlarmModel;
class AlarmSettings;
class AlarmSound;
class DataLink;
class DeckPlan;
class DeckScene;
class DeckSwitcher;
class DeckViewComplex;
class EventLog;
class LinkBanner;
class PlanMarks;
class QLabel;
class Ship;

namespace harq {
class Deck;
class Region;
class Sensor;
class SensorItem;
}

/// The station's main window, laid out so the alarms are always in sight: the
/// deck plan with the link banner above it, below it the alarm list and beside
/// that the filterable event log (a splitter, never tabs), the deck list on the
/// left, and in the status bar the connection with its reconnection countdown,
/// the audible alert, the compartment under the pointer and the pointer position.
///
/// It opens on the deck with the most unacknowledged alarms, and once more when
/// the first values arrive unless the operator chose a deck by then. Clicking a
/// sensor on the plan opens its detail; the plan's context menu acknowledges a
/// sensor's or a compartment's alarms.
class StationWindow : public QMainWindow
{
    Q_OBJECT

public:
    /// \a mute keeps the audible alert silent (training).
    StationWindow(const Ship& ship, DataLink& link, const AlarmSettings& settings, bool mute = false,
                  QWidget* parent = nullptr);

    /// Shows \a deck on the plan.
    void showDeck(harq::Deck* deck);
    /// Opens the detail of \a sensor.
    void openDetail(harq::Sensor* sensor);

    AlarmModel& alarms() const { return *model_; }
    PlanMarks& marks() const { return *marks_; }
    AlarmSound& sound() const { return *sound_; }
    LinkBanner& banner() const { return *banner_; }
    DeckPlan& plan() const { return *plan_; }
    EventLog& eventLog() const { return *log_; }

private:
    /// Where the operator started an action, so its outcome shows there.
    enum class Origin { List, Plan };

    void buildToolBar();
    void buildLayout();
    void buildStatusBar();
    void connectLink();
    void connectAlarms();
    void acknowledge(const QList<harq::SensorItem*>& items, Origin origin);
    void shelve(const QList<harq::SensorItem*>& items);
    void unshelve(const QList<harq::SensorItem*>& items);
    void silence();
    void tell(const QString& text, Origin origin);
    void logAlarm(const QString& text, harq::SensorItem* item);
    void showSensor(harq::Sensor* sensor);
    void showBusiestDeck();
    void showConnection(bool connected);
    bool eventFilter(QObject* watched, QEvent* event) override;

    const Ship& ship_;
    DataLink& link_;
    const AlarmSettings& settings_;
    AlarmModel* model_;
    DeckScene* scene_;
    DeckViewComplex* view_;
    DeckPlan* plan_;
    PlanMarks* marks_;
    DeckSwitcher* switcher_;
    AlarmList* alarm_list_;
    EventLog* log_;
    LinkBanner* banner_;
    AlarmSound* sound_;
    QLabel* connection_label_;
    QLabel* sound_label_;
    QLabel* compartment_label_;
    QLabel* position_label_;
    QPoint press_pos_;
    bool deck_chosen_ = false;
    bool first_values_seen_ = false;
};
