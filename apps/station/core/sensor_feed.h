#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class LinkSupervisor;
struct stDt;

/// The sensor channel of the station's link: books the data points the ship's
/// sensor items follow (on change only), hands every numeric value received to
/// a handler by name, and writes acknowledgement flags. Where the values go is
/// the handler's business, so this knows nothing of sensor items.
class SensorFeed : public QObject
{
    Q_OBJECT

public:
    /// Takes one value of the point \a name; true when it reached something that follows it.
    using ValueHandler = std::function<bool(const QString& name, double value)>;

    /// Books \a names on \a link, handing their values to \a handler.
    SensorFeed(LinkSupervisor& link, const QStringList& names, ValueHandler handler, QObject* parent = nullptr);

    /// Writes the 32-bit integer \a value to the point \a name; false if it could not be sent.
    bool writeInt(const QString& name, qint32 value);

signals:
    /// A batch of updates (all that reached the channel in one turn of the event
    /// loop: one read of the socket, or a slice of a burst) was received;
    /// \a routed of them reached something that follows them.
    void updatesReceived(int count, int routed);

private:
    void deliver(const stDt* records, int count);
    void reportBatch();

    LinkSupervisor& link_;
    ValueHandler handler_;
    // Updates delivered since the last report; the link hands them over per frame.
    int batch_count_ = 0;
    int batch_routed_ = 0;
};
