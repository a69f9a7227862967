#pragma once

#include "Tavimor.h"

#include <QObject>
#include <QStringList>

class QTimer;

namespace harq {
class SensorItemIndex;
}

/// The station's connection to the data server.
///
/// Books every data point the ship's sensor items follow (on change only), hands
/// each received value to the items through the ship's name index, and when the
/// connection drops reconnects with a growing pause (1 s doubling to 16 s) and
/// books everything again. Connecting never blocks the event loop: the client's
/// state signal drives every step, so the window stays responsive while the
/// server does not answer. Records reach this object through the client's
/// record handler, so any number of links may live in one process.
class DataLink : public QObject
{
    Q_OBJECT

public:
    /// What the link is doing, as linkStateChanged() reports it.
    enum class LinkState {
        Idle,           ///< not connected and no attempt planned
        Connecting,     ///< an attempt is under way (it gives up after 3 s)
        Connected,      ///< connected, every point booked
        WaitingToRetry, ///< not connected; the next attempt is planned
    };
    Q_ENUM(LinkState)

    DataLink(const QString& address, quint16 port, const harq::SensorItemIndex& index, QStringList names,
             QObject* parent = nullptr);

    /// Connects and books, keeping the event loop running while it waits (at
    /// most about 3 s); false if the server cannot be reached (no retry is
    /// scheduled then, but a connection made here is retried when it drops).
    bool open();
    /// Starts connecting and returns at once; until a connection is made,
    /// attempts follow one another with a growing pause.
    void start();
    /// Keeps trying to connect, with a growing pause, until it succeeds.
    void scheduleRetry();
    bool isConnected() const;
    LinkState linkState() const;
    /// Milliseconds until the next planned attempt, or -1 when none is planned.
    int msToNextAttempt() const;
    QString serverText() const;
    /// TLS for the connections from the next attempt on (see Tavimor::setTls()).
    void setTls(const TavimorTls& tls) { client_.setTls(tls); }

    /// Writes the 32-bit integer \a value to the point \a name; false if it could not be sent.
    bool writeInt(const QString& name, qint32 value);

signals:
    void connectionChanged(bool connected);
    /// A batch of updates (all that one read of the socket brought) was received;
    /// \a routed of them reached at least one item.
    void updatesReceived(int count, int routed);
    /// The next connection attempt is due in \a delayMs milliseconds.
    void reconnectScheduled(int delayMs);
    /// The link's state changed or a new attempt was planned. \a msToNextAttempt
    /// is the pause before that attempt (-1 when none is planned): a console
    /// counts down from the moment of the signal, or polls msToNextAttempt().
    void linkStateChanged(DataLink::LinkState state, int msToNextAttempt);

private:
    void deliver(const stDt* records, int count);
    void reportBatch();
    void onClientState(Tavimor::State state);
    bool bookAll();
    void attempt();
    void setLinkState(LinkState state);

    QString address_;
    quint16 port_;
    const harq::SensorItemIndex& index_;
    QStringList names_;
    Tavimor client_;
    QTimer* retry_timer_;
    int retry_delay_ms_;
    bool connected_ = false;
    // Whether a failed attempt or a lost connection leads to another attempt.
    bool retrying_ = false;
    LinkState state_ = LinkState::Idle;
    // Updates delivered since the last report; the client calls back once per frame.
    int batch_count_ = 0;
    int batch_routed_ = 0;
};
