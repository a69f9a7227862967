#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class AlarmState;

/// What the operator asks of the alarm console: acknowledge, silence, shelve
/// and unshelve. Each request decides here what happens and reports every
/// outcome by signal; the window only shows them.
class AlarmCommands : public QObject
{
    Q_OBJECT

public:
    /// Writes the integer \a value to the data point \a point; false when it could not be sent.
    using PointWriter = std::function<bool(const QString& point, qint32 value)>;

    /// Acts on \a alarms; acknowledgements are written through \a write.
    AlarmCommands(AlarmState& alarms, PointWriter write, QObject* parent = nullptr);

    /// Acknowledges those of \a ids that await acknowledgement, by writing 1 to
    /// each one's acknowledgement point (an item without one is acknowledged
    /// here alone, see AlarmState::acknowledgedByOperator()); reports each
    /// (acknowledged(), acknowledgeRefused()) and then the whole (acknowledgeFinished()).
    void acknowledge(const QList<int>& ids);
    /// Stops the audible alert without acknowledging anything (silenced()).
    void silence();
    /// Shelves \a ids for \a minutes with \a reason; shelved() for each that was.
    void shelve(const QList<int>& ids, const QString& reason, int minutes);
    /// Ends the shelving of \a ids; unshelved() for each that was shelved.
    void unshelve(const QList<int>& ids);

signals:
    /// The acknowledgement of \a id was written, or made here for an item without an acknowledgement point.
    void acknowledged(int id);
    /// The acknowledgement of \a id did not reach the data server; the alarm still awaits it.
    void acknowledgeRefused(int id);
    /// One acknowledge() is done: \a refused lists the ids not acknowledged,
    /// \a sent counts those acknowledged. Nothing refused and nothing sent means
    /// nothing in the request awaited acknowledgement.
    void acknowledgeFinished(const QList<int>& refused, int sent);
    void silenced();
    void shelved(int id, const QString& reason, int minutes);
    void unshelved(int id);

private:
    AlarmState& alarms_;
    PointWriter write_;
};
