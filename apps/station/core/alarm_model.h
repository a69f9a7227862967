#pragma once

#include "alarm_priority.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QVector>

#include <deque>
#include <memory>
#include <optional>

class AlarmSettings;
class QTimer;
class Ship;

namespace harq {
class Deck;
class Region;
class Sensor;
class SensorItem;
}

/// The alarm state of every sensor item of the ship, as the operator handles it.
///
/// The library tells whether an item is abnormal and whether its change awaits
/// acknowledgement; this model adds what alarm management needs on top: an
/// alarm that returns to normal before anyone acknowledged it stays listed as
/// unacknowledged-cleared until acknowledged here, alarms can be shelved for a
/// while with a reason, alarms of sensor groups hidden from the plan count as
/// suppressed, the first alarm of an incident (raised while nothing was listed)
/// is marked first-out, and while the data link is down every row is marked stale.
///
/// One row per listed item (anything but normal, plus shelved items); rows keep
/// the order they were added in, AlarmList sorts them through SortRole.
class AlarmModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class State { Normal, UnacknowledgedActive, AcknowledgedActive, UnacknowledgedCleared };
    enum Column {
        PriorityColumn,
        DeckColumn,
        CompartmentColumn,
        SensorColumn,
        ItemColumn,
        StateColumn,
        ValueColumn,
        TimeColumn,
        ColumnCount
    };
    enum Role {
        /// Ascending order of the list: priority, then newest first; shelved and suppressed last.
        SortRole = Qt::UserRole + 1,
    };

    /// One recorded value of an item, for its trend.
    struct Sample {
        qint64 msecs;
        double value;
    };
    /// A change of an item's alarm state, for its history.
    struct Transition {
        QDateTime at;
        QString text;
    };
    struct Alarm {
        harq::Sensor* sensor = nullptr;
        harq::SensorItem* item = nullptr;
        QString deck;
        QString compartment;
        QString name;
        AlarmPriority priority = AlarmPriority::Alarm;
        State state = State::Normal;
        QDateTime raised;
        bool firstOut = false;
        bool suppressed = false;
        bool shelved = false;
        QString shelveReason;
        QDateTime shelvedUntil;
        QVector<Transition> history;
        std::deque<Sample> trend;
    };

    AlarmModel(const Ship& ship, const AlarmSettings& settings, QObject* parent = nullptr);
    ~AlarmModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// The alarm of row \a row; null outside the rows.
    const Alarm* alarmAt(int row) const;
    /// The alarm record of \a item (every item of the ship has one); null for unknown items.
    const Alarm* alarmOf(const harq::SensorItem* item) const;
    /// The listed items on \a deck (all decks when null) and, when
    /// given, of \a compartment only, that await acknowledgement.
    QList<harq::SensorItem*> unacknowledged(const harq::Deck* deck = nullptr,
                                             const harq::Region* compartment = nullptr) const;
    /// Listed items awaiting acknowledgement on \a deck, shelved and suppressed ones left out.
    int unacknowledgedCount(const harq::Deck* deck) const;
    /// Abnormal items on \a deck (the deck list's count).
    int activeCount(const harq::Deck* deck) const;
    /// The most urgent priority among active unacknowledged alarms that are neither
    /// shelved nor suppressed; none when there is nothing to announce.
    std::optional<AlarmPriority> mostUrgentToAnnounce() const;
    /// True when \a sensor has an alarm awaiting acknowledgement that is not shelved.
    bool awaitsAcknowledgement(const harq::Sensor* sensor) const;
    /// The most urgent priority of \a sensor's listed, unshelved items; none when nothing is listed.
    std::optional<AlarmPriority> priorityShown(const harq::Sensor* sensor) const;

    /// The operator acknowledged \a item and the acknowledgement was written: a
    /// cleared alarm is done and leaves the list; an active one waits for the
    /// server's acknowledgement flag as before.
    void acknowledgedByOperator(harq::SensorItem* item);
    /// Shelves \a item until \a minutes from now (clamped to the settings' limit)
    /// with \a reason; false when the item is not listed or already shelved.
    bool shelve(harq::SensorItem* item, const QString& reason, int minutes);
    /// Ends \a item's shelving; false when it was not shelved.
    bool unshelve(harq::SensorItem* item);
    /// Raise times (item tag to ms since the epoch) of alarms that were still
    /// raised when the station last stopped: such an alarm, raised again by its
    /// first value, keeps its real time instead of the restart's.
    void setKnownRaised(const QHash<QString, qint64>& raised) { known_raised_ = raised; }
    /// Puts \a older values of \a item (oldest first, read back from the
    /// history) in front of its trend, as far as they are older than it.
    void seedTrend(const harq::SensorItem* item, const std::deque<Sample>& older);
    /// Marks the alarms of sensors of view group \a group (code) suppressed or not.
    void setGroupSuppressed(const QString& group, bool suppressed);
    /// Marks every row as no longer live (true) or live again.
    void setStale(bool stale);

    static QString stateText(State state);
    /// A value item's value and stage ("66.0 (超过高限)"), a state item's "动作" or "正常".
    static QString valueText(const harq::SensorItem& item);

signals:
    /// \a item became abnormal (a new alarm).
    void alarmRaised(harq::SensorItem* item);
    /// \a item returned to normal.
    void alarmCleared(harq::SensorItem* item);
    /// Something about \a item's alarm changed: state, shelving, suppression.
    void alarmChanged(harq::SensorItem* item);
    /// \a item's shelving ran out.
    void shelvingExpired(harq::SensorItem* item);
    /// The operator acknowledged \a item's alarm after it had cleared, which
    /// ends it; the item's own acknowledgement point does not show that.
    void clearedAlarmAcknowledged(harq::SensorItem* item);

private:
    void onValueChanged(harq::Sensor* sensor, int ix);
    void onStateChanged(harq::SensorItem* item);
    void setState(Alarm& alarm, State state);
    void record(Alarm& alarm, const QString& text);
    void updateListing(Alarm& alarm);
    void refreshRow(const Alarm& alarm);
    void expireShelving();
    bool listed(const Alarm& alarm) const;

    const Ship& ship_;
    const AlarmSettings& settings_;
    QHash<const harq::SensorItem*, std::shared_ptr<Alarm>> alarms_;
    QVector<Alarm*> rows_;
    QTimer* shelve_timer_;
    bool stale_ = false;
    QHash<QString, qint64> known_raised_;
};
