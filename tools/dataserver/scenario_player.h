#pragma once

#include "point_value.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVector>

class PointStore;

/**
 * Plays a scenario file into the point store: initial values of its points at
 * start, then its events at their times (seconds, divided by the speed factor),
 * and, when it repeats, the events again after the last one.
 */
class ScenarioPlayer : public QObject
{
    Q_OBJECT

public:
    explicit ScenarioPlayer(PointStore* store, QObject* parent = nullptr);

    /// Reads a scenario file; on failure `error` names the file and the fault.
    bool load(const QString& path, QString* error);
    /// Reads a scenario from JSON text; on failure `error` says what is wrong.
    bool parse(const QByteArray& json, QString* error);
    /// Checks that the timeline can be played at `speed`: every event time, divided
    /// by the speed, within kMaxPlayedSeconds, and the round of a repeating
    /// timeline at least a millisecond long. On failure `error` names the entry and
    /// the field.
    bool checkSpeed(double speed, QString* error) const;
    /// Stores the initial values and starts the timeline; `speed` > 0 scales time
    /// and should have passed checkSpeed(): later times are held at the limit.
    void start(double speed);

    /// Latest played time of an event, in seconds after start (a year): far beyond
    /// any demo, and far enough from the millisecond clock's range that a round
    /// start can never overflow.
    static constexpr double kMaxPlayedSeconds = 365.0 * 24 * 3600;

signals:
    /// The timeline played its last event (once per round when it repeats).
    void roundFinished();

private:
    struct Event {
        double at = 0;
        int entry = 0; // index in the file's "events", for messages
        QByteArray name;
        PointValue value;
    };

    void applyDue();
    qint64 dueMs(const Event& event) const;

    PointStore* store_;
    QVector<QPair<QByteArray, PointValue>> initial_;
    QVector<Event> events_;
    bool repeat_ = false;
    double speed_ = 1.0;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 roundStartMs_ = 0;
    int next_ = 0;
};
