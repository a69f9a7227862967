#pragma once

#include "link_supervisor.h"
#include "sensor_feed.h"

#include <QObject>
#include <QStringList>

#include <functional>

/// The station's link to the data server as its window uses it: the supervised
/// connection (LinkSupervisor) with the sensor channel (SensorFeed) on it, whose
/// values go to the host's route (the ship's name index in the station). Other
/// channels, such as the shared incident state, go on supervisor().
class DataLink : public QObject
{
    Q_OBJECT

public:
    /// Hands the value \a value of the point \a name on; returns how many items took it.
    using Route = std::function<int(const QString& name, double value)>;

    DataLink(const QString& address, quint16 port, Route route, const QStringList& names, QObject* parent = nullptr);

    LinkSupervisor& supervisor() { return supervisor_; }
    const LinkSupervisor& supervisor() const { return supervisor_; }
    /// TLS for the connections from the next attempt on (see Tavimor::setTls()).
    void setTls(const TavimorTls& tls) { supervisor_.setTls(tls); }

    /// As LinkSupervisor::open(): connects and waits for the server's answer.
    bool open() { return supervisor_.open(); }
    /// As LinkSupervisor::start(): connects and keeps the link up from then on.
    void start() { supervisor_.start(); }
    /// Whether the link is live: the server answered within the deadline.
    bool isConnected() const { return supervisor_.isLive(); }
    QString serverText() const { return supervisor_.serverText(); }
    /// Writes the 32-bit integer \a value to the point \a name; false if it could not be sent.
    bool writeInt(const QString& name, qint32 value) { return feed_.writeInt(name, value); }

signals:
    /// The link became live or stopped being live.
    void connectionChanged(bool connected);
    /// A batch of updates was received; \a routed of them reached at least one item.
    void updatesReceived(int count, int routed);

private:
    LinkSupervisor supervisor_;
    SensorFeed feed_;
};
