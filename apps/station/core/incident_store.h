#pragma once

#include "incident_event.h"

#include <QHash>
#include <QObject>
#include <QSqlError>
#include <QString>
#include <QVector>

#include <memory>

class QLockFile;
class QTimer;

/// The station's incident history in an embedded SQLite database (Qt SQL),
/// one file per station; schema, retention and size bound in docs/station.md.
///
/// Writes are queued in memory and committed together every kFlushMs in one
/// short transaction, in WAL mode with synchronous=NORMAL: the window never
/// waits for the disk, and a station killed outright loses at most the last
/// kFlushMs of history. Values of booked points are thinned to what a trend
/// needs: at most one sample per point per kSampleGapMs (the latest value of a
/// burst is kept), except that a change between normal and abnormal is always
/// written, so no alarm is lost from a replay.
///
/// Queries read what was committed plus what is queued (they flush first).
///
/// The history never keeps a station from running: openOwn() locks the file
/// against a second station, sets a damaged file aside and starts a fresh one,
/// and otherwise runs with the history off. state() and stateChanged() tell
/// the window whether the history is being written.
class IncidentStore : public QObject
{
    Q_OBJECT

public:
    /// Whether what happens is being written.
    enum class State {
        Closed,  ///< not opened yet
        Writing, ///< open, the last commit went through
        Failing, ///< open, the last commit failed; the queue is tried again (problem() says why)
        Off,     ///< nothing is written: not usable or read-only (problem() says why)
    };
    Q_ENUM(State)

    static constexpr int kFlushMs = 250;
    static constexpr qint64 kSampleGapMs = 1000;
    static constexpr int kSchemaVersion = 1;
    /// How far ahead of this station's clock an event may be dated; a time a
    /// peer claims beyond it, or older than the retention, is replaced by the
    /// time of receipt (which every row keeps too).
    static constexpr qint64 kMaxAheadMs = 60 * 1000;

    /// A value of a booked point at a time: raw, as the server sent it, and as
    /// shown (through the item's transform).
    struct Sample {
        QString tag;
        qint64 msecs = 0;
        double value = 0.0;
        double shown = 0.0;
    };

    /// How much history is kept: rows older than retentionDays go, and beyond
    /// the row caps the oldest go. With the defaults the file stays below
    /// about 130 MB (docs/station.md).
    struct Limits {
        int retentionDays = 30;
        qint64 maxEvents = 200000;
        qint64 maxSamples = 1000000;
    };

    explicit IncidentStore(QObject* parent = nullptr);
    /// Commits what is queued.
    ~IncidentStore() override;

    /// Opens or creates the database file \a path; false with \a error set when
    /// it cannot be opened or is not a history of this kind (a newer schema).
    /// A file that can be read but not written opens, with the state Off.
    /// Takes no lock and prunes nothing: exports and tools read a history a
    /// station is writing, or an old one kept aside.
    bool open(const QString& path, QString* error);
    /// Opens \a path as this station's own history, never failing: a file
    /// another station holds (lock file \a path.lock), a newer schema, a disk
    /// that cannot take it or a read-only file leave the history Off; a damaged
    /// file (not a database, malformed) is renamed to \a path.damaged-<time>
    /// and a fresh history started in its place. Prunes what is beyond the
    /// limits. True when the history is written.
    bool openOwn(const QString& path);
    bool isOpen() const { return !connection_.isEmpty(); }
    State state() const { return state_; }
    /// Why the history is Failing or Off, or what was done to it (a damaged
    /// file set aside); empty when all is well.
    const QString& problem() const { return problem_; }
    /// Applies \a limits at once and at every later pruning.
    void setLimits(const Limits& limits);

    /// Queues \a event.
    void record(const IncidentEvent& event);
    /// Offers a raw \a value of \a tag, \a shown as the operator sees it;
    /// \a abnormal is the item's state with it.
    void recordSample(const QString& tag, qint64 msecs, double value, double shown, bool abnormal);
    /// Commits everything queued now; false if the database refused it. The
    /// queue is then kept for the next try, unless it holds more than about a
    /// minute of a busy incident: then it is dropped with a warning, as history
    /// must not grow without bound in memory.
    bool flush();

    /// The newest \a limit events, oldest first.
    QVector<IncidentEvent> recent(int limit);
    /// Events from \a from to \a to (inclusive, ms since epoch), oldest first.
    QVector<IncidentEvent> between(qint64 from, qint64 to);
    /// Samples from \a from to \a to, in time order; with \a tag empty, of every point.
    QVector<Sample> samples(qint64 from, qint64 to, const QString& tag = QString());
    /// The last sample of every point at or before \a at.
    QVector<Sample> lastSamplesAt(qint64 at);
    /// What the history tells of an item's last alarm.
    struct LastAlarm {
        qint64 raised = 0;
        bool cleared = false;
        /// An acknowledgement was recorded at or after the raise.
        bool acknowledged = false;
        /// The raise was marked first-out.
        bool firstOut = false;
    };
    /// Every item tag's last alarm. An acknowledgement counts when it names the
    /// tag or the point \a acknowledgementPrefix + tag (one shared by a console).
    QHash<QString, LastAlarm> lastAlarms(const QString& acknowledgementPrefix);
    /// For every shared point an action was recorded on, the value last recorded.
    QHash<QString, QString> lastActionValues();
    /// Removes rows beyond the limits, relative to \a now.
    void prune(qint64 now);

signals:
    void stateChanged(IncidentStore::State state, const QString& problem);

private:
    struct Pending {
        qint64 lastMsecs = 0;
        double lastValue = 0.0;
        bool lastAbnormal = false;
        bool waiting = false;
        Sample waitingSample;
    };

    /// Holds what is queued for the events table, with when it was recorded.
    struct QueuedEvent {
        IncidentEvent event;
        qint64 receivedMsecs = 0;
    };

    bool openDatabase(const QString& path, QString* error);
    void close();
    /// Renames the damaged file aside and opens a fresh one in its place;
    /// \a notice says what was done, or why it could not be.
    bool startFresh(QString* notice);
    bool writing() const { return isOpen() && state_ != State::Off; }
    void setState(State state, const QString& problem);
    /// True when the last SQLite error says the file is damaged.
    bool lastErrorIsDamage() const;
    bool exec(const QString& statement);
    QVector<IncidentEvent> readEvents(const QString& where, const QVariantList& values);
    void queueSample(const Sample& sample, Pending& pending, bool abnormal);

    QString connection_;
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    State state_ = State::Closed;
    QString problem_;
    QSqlError last_error_;
    Limits limits_;
    QTimer* flush_timer_;
    QVector<QueuedEvent> events_;
    QVector<Sample> samples_;
    QHash<QString, Pending> pending_;
    int flushes_ = 0;
};
