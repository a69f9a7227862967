#pragma once

#include "operator_session.h"

#include <QList>
#include <QMainWindow>
#include <QSet>

class AlarmList;
class AlarmSettings;
class AlarmSound;
class AlarmTable;
class CompartmentMenu;
class DataLink;
class DeckPlan;
class DeckScene;
class DeckSwitcher;
class DeckViewComplex;
class EventLog;
class LanguageMenu;
class LinkBanner;
class PlanMarks;
class QLabel;
class QMenu;
class QToolBar;
class Ship;
class StationConsole;
struct IncidentEvent;

namespace harq {
class Deck;
class Region;
class Sensor;
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
///
/// The window decides nothing about alarms: it shows the console's state and
/// hands the operator's requests to the console's commands, then shows their outcome.
/// Given the operators (setOperators()), acknowledging, shelving and the plan's
/// actions need an operator whose role allows them; looking, the alarm list
/// and silencing never do.
class StationWindow : public QMainWindow
{
    Q_OBJECT

public:
    /// The window on \a console (which must outlive it); \a mute keeps the
    /// audible alert silent (training).
    StationWindow(const Ship& ship, StationConsole& console, DataLink& link, const AlarmSettings& settings,
                  bool mute = false, QWidget* parent = nullptr);

    /// Shows \a deck on the plan.
    void showDeck(harq::Deck* deck);
    /// Opens the detail of \a sensor.
    void openDetail(harq::Sensor* sensor);
    /// Logs \a event of the incident as it happens (another console's action).
    void logEvent(const IncidentEvent& event);
    /// Logs \a event read back from the history, at the time it happened.
    void logPastEvent(const IncidentEvent& event);
    /// Writes \a text to the event log now (what the station itself has to say).
    void logText(const QString& text);
    /// Shows \a text above the plan until the next notice, and logs it.
    void notify(const QString& text);
    /// Who may act here; null (the default) lets everyone, as an
    /// unauthenticated console. Shows who is logged in in the tool bar.
    void setOperators(OperatorSession* session);

    PlanMarks& marks() const { return *marks_; }
    AlarmSound& sound() const { return *sound_; }
    LinkBanner& banner() const { return *banner_; }
    DeckPlan& plan() const { return *plan_; }
    /// The 语言 / Language menu in the menu bar; every text of the window follows it.
    LanguageMenu& languages() const { return *languages_; }
    /// The menu of reports and exports in the menu bar, made on first use.
    QMenu* reportMenu();

private:
    /// Where the operator started an action, so its outcome shows there.
    enum class Origin { List, Plan };

    void buildToolBar();
    void buildLayout();
    void buildStatusBar();
    void connectLink();
    void connectAlarms();
    void connectCommands();
    void acknowledge(const QList<int>& ids, Origin origin);
    void shelve(const QList<int>& ids);
    void tell(const QString& text, Origin origin);
    /// True when \a action may be taken now; otherwise tells why where it was asked.
    bool permits(OperatorSession::Action action, Origin origin);
    QString noticeAt(Origin origin) const;
    /// Takes back the notice of acknowledgements that did not go out, once it no longer holds.
    void withdrawRefusal();
    void logAlarm(const QString& text, int id);
    void showSensor(harq::Sensor* sensor);
    void showBusiestDeck();
    void showConnection(bool connected);
    bool eventFilter(QObject* watched, QEvent* event) override;

    const Ship& ship_;
    DataLink& link_;
    const AlarmSettings& settings_;
    StationConsole& console_;
    AlarmTable* table_;
    DeckScene* scene_;
    DeckViewComplex* view_;
    DeckPlan* plan_;
    PlanMarks* marks_;
    DeckSwitcher* switcher_;
    AlarmList* alarm_list_;
    EventLog* log_;
    LinkBanner* banner_;
    AlarmSound* sound_;
    CompartmentMenu* menu_;
    QToolBar* tools_ = nullptr;
    OperatorSession* operators_ = nullptr;
    QMenu* report_menu_ = nullptr;
    QLabel* connection_label_;
    QLabel* sound_label_;
    QLabel* compartment_label_;
    QLabel* position_label_;
    LanguageMenu* languages_;
    QPoint press_pos_;
    bool deck_chosen_ = false;
    bool first_values_seen_ = false;
    // Where the acknowledgement under way was asked for.
    Origin acknowledging_from_ = Origin::List;
    // The alarms the last refusal notice names that still await acknowledgement, where it shows and what it says.
    QSet<int> refused_;
    Origin refused_at_ = Origin::List;
    QString refusal_;
};
