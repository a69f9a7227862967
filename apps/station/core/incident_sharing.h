#pragma once

#include "Tavimor.h"

#include <QHash>
#include <QObject>
#include <QStringList>

class QTimer;

/// The incident state every console shares, carried by text data points of the
/// data server (docs/station.md, "Shared incident state").
///
/// Each point holds the latest action on one thing (a compartment, one unit of
/// a team, a shelved alarm) as "<ms since epoch>|<console>|<payload>". Every
/// console books every point, its own writes included, and applies updates in
/// the order the server sends them, so all consoles end with the last write the
/// server took: last writer wins, by the server's order, whatever the clocks say.
/// Booking a point that has a value brings that value at once, which is how a
/// console started in the middle of an incident catches up.
///
/// Uses its own client and connection, so the station's sensor link is left as
/// it is. Connecting never blocks: it runs on the client's state signal, and a
/// lost or refused connection is tried again every kRetryMs. A write made while
/// the server cannot be reached is kept (the latest per point) and sent when the
/// connection returns, before the points are booked again.
class IncidentSharing : public QObject
{
    Q_OBJECT

public:
    /// One value of a shared point.
    struct Value {
        qint64 msecs = 0;
        QString console;
        QString payload;

        /// "<msecs>|<console>|<payload>".
        QString format() const;
        /// False for text that is not of that form.
        static bool parse(const QString& text, Value* value);
    };

    /// Prefix of every shared point's name.
    static const QString kPrefix;
    /// Longest console name kept; the value must fit the client's 128 bytes.
    static constexpr int kMaxConsoleName = 24;
    static constexpr int kRetryMs = 2000;

    /// Names of the points for a compartment, a team unit and a shelved alarm.
    static QString damagePoint(quint64 compartmentId);
    static QString teamPoint(int teamType, int unit);
    static QString shelvePoint(const QString& tag);
    /// The point of a damage boundary of the ship file, set by the crew or lifted.
    static QString boundaryPoint(quint64 boundaryId);

    IncidentSharing(const QString& address, quint16 port, const QString& console, QStringList points,
                    QObject* parent = nullptr);
    /// Starts connecting and returns at once; once connected, books every
    /// point, and keeps the connection up from then on.
    void open();
    /// TLS for the connections from the next attempt on (see Tavimor::setTls()).
    void setTls(const TavimorTls& tls) { client_.setTls(tls); }

    /// Writes \a payload to \a point under this console's name and the current
    /// time; the change comes back through received() like anyone else's.
    /// Returns the value written; while the server cannot be reached it is kept
    /// and sent on reconnection. A payload too long for the client's 128 bytes
    /// of text (GBK) is cut at its end to fit.
    Value publish(const QString& point, const QString& payload);

signals:
    /// The server sent \a value for \a point (an update or the value at booking).
    void received(const QString& point, const IncidentSharing::Value& value);

private:
    void deliver(const stDt* records, int count);
    void onClientState(Tavimor::State state);
    void book();
    bool write(const QString& point, const QString& text);

    QString address_;
    quint16 port_;
    QString console_;
    QStringList points_;
    Tavimor client_;
    QTimer* retry_timer_;
    bool connected_ = false;
    QHash<QString, QString> unsent_;
};
