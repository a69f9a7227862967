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
    /// Stores the initial values and starts the timeline; `speed` > 0 scales time.
    void start(double speed);

signals:
    /// The timeline played its last event (once per round when it repeats).
    void roundFinished();

private:
    struct Event {
        double at = 0;
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
