#pragma once

#include "alarm_priority.h"
#include "item_history.h"
#include "trend_buffer.h"

#include <QHash>
#include <QList>
#include <QMultiHash>
#include <QObject>
#include <QVector>

#include <array>
#include <optional>
#include <vector>

class ConsoleClock;
class QTimer;

/// The alarm state of every sensor item of the ship, as the operator handles it.
///
/// The library tells whether an item is abnormal and whether its change awaits
/// acknowledgement (stateChanged(), acknowledgementChanged()); this state adds
/// what alarm management needs on top: an alarm that returns to normal before
/// anyone acknowledged it stays listed as unacknowledged-cleared until
/// acknowledged here, alarms can be shelved for a while with a reason, alarms
/// of sensor groups hidden from the plan count as suppressed, the first alarm
/// of an incident (raised while nothing was listed) is marked first-out until
/// the list has emptied again, and
/// while the data link is down every alarm is marked stale.
///
/// A station that restarts in the middle of an incident recalls the alarms its
/// history left listed (recall()): they show as before, with their raise times
/// and the first-out mark, until the items' first values after the restart
/// settle them (reconcile()) as a console that kept running would have seen
/// them change meanwhile.
///
/// Items are known by the id addItem() gave them, as the ship file describes
/// them; nothing here knows the library's objects. Time comes from the clock
/// handed in, never from the machine directly.
class AlarmState : public QObject
{
    Q_OBJECT

public:
    enum class State { Normal, UnacknowledgedActive, AcknowledgedActive, UnacknowledgedCleared };

    /// What the console knows of one sensor item, from the ship file and the settings.
    struct Item {
        QString tag;
        QString confirmTag;
        quint64 deck = 0;
        /// 0 when the ship file puts the sensor in no compartment.
        quint64 compartment = 0;
        /// The host's key of the item's sensor; items of one sensor share it.
        int sensor = 0;
        QString deckName;
        QString compartmentName;
        QString sensorName;
        QString name;
        /// The code of the sensor's view group; empty when it has none.
        QString group;
        AlarmPriority priority = AlarmPriority::Alarm;
        /// Of the shown value, as alarm.lua gives it; empty when it gives none.
        QString unit;
    };
    struct Alarm {
        Item item;
        State state = State::Normal;
        qint64 raised = 0;
        /// The first alarm of the incident under way: raised while nothing was
        /// listed, marked until the list has emptied again.
        bool firstOut = false;
        bool suppressed = false;
        bool shelved = false;
        QString shelveReason;
        qint64 shelvedUntil = 0;
        /// This console's operator acknowledged the active alarm and the
        /// server's flag has not come back yet: a clearing that overtakes the
        /// flag still ends the alarm.
        bool acknowledging = false;
        /// Listed by recall() as active and not yet settled by reconcile():
        /// the item's readings until then do not move it.
        bool recalled = false;
    };
    /// An alarm as the history left it when the station last stopped.
    struct Recalled {
        QString tag;
        qint64 raised = 0;
        /// UnacknowledgedActive, AcknowledgedActive or UnacknowledgedCleared.
        State state = State::UnacknowledgedActive;
    };

    static constexpr int kDefaultShelveLimitMinutes = 480;

    explicit AlarmState(const ConsoleClock& clock, QObject* parent = nullptr);
    ~AlarmState() override;

    /// Adds an item in the normal state; returns its id (ids count up from 0).
    int addItem(const Item& item);
    int itemCount() const { return int(alarms_.size()); }
    /// The alarm of item \a id; null for an unknown id.
    const Alarm* alarm(int id) const;
    /// The ids of the items with \a tag, in the order added.
    QList<int> idsOfTag(const QString& tag) const;
    /// The listed alarms (anything but normal, plus shelved ones) in the order they were listed.
    const QVector<int>& listed() const { return listed_; }
    /// Whether \a id is among listed(); false for an unknown id.
    bool isListed(int id) const { return id >= 0 && id < int(in_list_.size()) && in_list_[std::size_t(id)]; }

    /// The library's item \a id turned abnormal or back to normal.
    void stateChanged(int id, bool abnormal, bool awaitingAcknowledgement);
    /// The library's item \a id changed its value or its acknowledgement flag;
    /// an active alarm follows the flag. During a flip the item is already
    /// abnormal but not yet awaiting acknowledgement; stateChanged() settles it.
    void acknowledgementChanged(int id, bool abnormal, bool awaitingAcknowledgement);

    /// The operator's acknowledgement of \a id was written: a cleared alarm is
    /// done and leaves the list (acknowledgedWithoutFlag()); an active one
    /// waits for the server's acknowledgement flag, or for its clearing if that
    /// comes first. An item without an acknowledgement point has no flag to
    /// wait for: its active alarm is acknowledged at once (acknowledgedWithoutFlag()).
    void acknowledgedByOperator(int id);
    /// Another console's operator acknowledged \a id at \a atMs (ms since the
    /// epoch) in a way the flag does not carry (acknowledgedWithoutFlag() there).
    /// Ends the alarm if it has cleared unacknowledged, or acknowledges it if
    /// the item has no acknowledgement point, provided it was raised by then: an
    /// acknowledgement of an earlier alarm of the item leaves a new one alone.
    /// False when nothing changed.
    bool acknowledgedElsewhere(int id, qint64 atMs, const QString& console);
    /// The longest shelving, in minutes; 1 at least.
    void setShelveLimitMinutes(int minutes) { shelve_limit_minutes_ = qMax(1, minutes); }
    int shelveLimitMinutes() const { return shelve_limit_minutes_; }
    /// Shelves \a id until \a minutes from now (clamped to 1 and the limit) with
    /// \a reason; false when it is not listed or already shelved.
    bool shelve(int id, const QString& reason, int minutes);
    /// Shelves \a id until \a untilMs (ms since the epoch) exactly, at most the
    /// limit from now: a shelving another console shared, or one kept across a
    /// restart. False when it is not listed, already shelved or \a untilMs has passed.
    bool shelveUntil(int id, const QString& reason, qint64 untilMs);
    /// Ends \a id's shelving; false when it was not shelved.
    bool unshelve(int id);
    /// Ends every shelving whose time has come by the clock (shelvingExpired()).
    /// Runs every second while something is shelved; a host may call it at any time.
    void expireShelving();
    /// Marks the alarms of items of view group \a group (code) suppressed or not.
    void setGroupSuppressed(const QString& group, bool suppressed);
    /// Marks every alarm as no longer live (true) or live again.
    void setStale(bool stale);
    bool isStale() const { return stale_; }
    /// Lists \a alarms (every item of each tag), in the order they were raised,
    /// as they stood when the station last stopped, and marks the alarm of
    /// \a firstOut (a tag; empty for none) first-out, listed or not, if any
    /// alarm is listed. Call before the first value arrives. An active one is
    /// held as it is (Alarm::recalled) until reconcile(); a cleared one follows
    /// its item from the start, since any change of it is news.
    void recall(const QVector<Recalled>& alarms, const QString& firstOut);
    /// Settles the recalled alarm \a id by its item's reading once the values
    /// after the restart have come: normal means it cleared meanwhile; active
    /// and awaiting acknowledgement though it was acknowledged means it cleared
    /// and was raised again (a new alarm, raised now); acknowledged though it
    /// awaited means someone acknowledged it. Only the transitions a console
    /// that kept running would have gone through are made, with their signals.
    void reconcile(int id, bool abnormal, bool awaitingAcknowledgement);

    /// The listed alarms awaiting acknowledgement, of \a deck and \a compartment when given.
    QList<int> unacknowledged(std::optional<quint64> deck = std::nullopt,
                              std::optional<quint64> compartment = std::nullopt) const;
    /// Listed alarms awaiting acknowledgement on \a deck, shelved and suppressed ones left out.
    int unacknowledgedCount(quint64 deck) const;
    /// Active alarms on \a deck (the deck list's count).
    int activeCount(quint64 deck) const;
    /// Of \a decks, the one with the most unacknowledged alarms, the first on a tie; none for no decks.
    std::optional<quint64> busiestDeck(const QList<quint64>& decks) const;
    /// The most urgent priority among active unacknowledged alarms that are neither
    /// shelved nor suppressed; none when there is nothing to announce.
    std::optional<AlarmPriority> mostUrgentToAnnounce() const;
    /// True when an item of \a sensor has an alarm awaiting acknowledgement that is not shelved.
    bool awaitsAcknowledgement(int sensor) const;
    /// The most urgent priority of \a sensor's listed, unshelved alarms; none when nothing is listed.
    std::optional<AlarmPriority> priorityShown(int sensor) const;
    /// True when an item of \a sensor is shelved.
    bool anyShelved(int sensor) const;

    /// Every item's state changes and the operator's actions on it.
    const ItemHistory& history() const { return history_; }
    /// Every value item's recent values; the host adds them as they come.
    TrendBuffer& trend() { return trend_; }
    const TrendBuffer& trend() const { return trend_; }

    static QString stateText(State state);
    /// True for the states that await the operator's acknowledgement.
    static bool isAwaiting(State state);
    static bool isActive(State state);

signals:
    /// \a id became abnormal (a new alarm).
    void alarmRaised(int id);
    /// \a id returned to normal.
    void alarmCleared(int id);
    /// Something about \a id's alarm changed: state, shelving, suppression.
    void alarmChanged(int id);
    /// \a id joined the listed alarms, at the end of listed().
    void alarmListed(int id);
    /// \a id left the listed alarms.
    void alarmUnlisted(int id);
    /// \a id's shelving ran out.
    void shelvingExpired(int id);
    /// The operator's acknowledgement of \a id's active alarm was written; the
    /// server's acknowledgement flag is still to come.
    void acknowledgementSent(int id);
    /// This console's operator acknowledged \a id's alarm and the item's own
    /// acknowledgement flag does not show it to anyone: the alarm had cleared
    /// (also when the clearing overtook the flag), or the item has no
    /// acknowledgement point. Other consoles learn of it only if it is shared.
    void acknowledgedWithoutFlag(int id);
    void staleChanged(bool stale);

private:
    void setState(int id, State state);
    void record(int id, const QString& text);
    void updateListing(int id);
    /// Whether \a alarm should be listed now; isListed() says whether it is.
    bool belongsInList(const Alarm& alarm) const;
    /// The list has emptied: the incident is over and its first-out mark goes.
    void endIncident();
    /// Brings the per-deck and per-priority tallies up to date with \a id's
    /// alarm; called at every change of its state, shelving or suppression.
    void tally(int id);

    /// What one alarm adds to the tallies.
    struct Counted {
        bool active = false;
        bool unacknowledged = false; ///< awaiting, neither shelved nor suppressed
        bool announced = false;      ///< active and awaiting, neither shelved nor suppressed
    };
    struct DeckTally {
        int active = 0;
        int unacknowledged = 0;
    };

    const ConsoleClock& clock_;
    std::vector<Alarm> alarms_;
    QMultiHash<QString, int> by_tag_;
    // The items of each sensor, so a sensor's questions look at its few items, not the whole list.
    QHash<int, QVector<int>> by_sensor_;
    QVector<int> listed_;
    // Per item, whether it is in listed_: a flood of changes must not search the list for each.
    std::vector<bool> in_list_;
    // The deck list's counts and the sound's priority kept as alarms change:
    // asked at each alarm of a flood, a count over the list would cost the
    // square of the flood's size.
    std::vector<Counted> counted_;
    QHash<quint64, DeckTally> decks_;
    std::array<int, alarmpriority::kCount> announced_{};
    ItemHistory history_;
    TrendBuffer trend_;
    QTimer* shelve_timer_;
    int shelve_limit_minutes_ = kDefaultShelveLimitMinutes;
    bool stale_ = false;
};
