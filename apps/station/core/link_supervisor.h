#pragma once

#include "record_pacer.h"
#include "retry_policy.h"

#include "tavimor_tls.h"

#include <QObject>
#include <QStringList>

#include <memory>

class QTimer;
class Tavimor;
struct stDt;

/// The station's one connection to the data server, and the policy that keeps it.
///
/// Every channel of the station (the sensor values, the shared incident state)
/// books its points here and receives its records from here, so one connection,
/// one retry policy and one state serve them all. The link counts as live only
/// once the server has answered on the connection, not when TCP connects: a
/// server at its client cap may leave a connection in the kernel's backlog, and
/// a stopped server keeps its connections open. While connected it reads a point
/// the server has answered for every kProbeMs; a server that sends nothing for
/// kDeadlineMs is taken as lost: the connection is dropped and attempts follow
/// RetryPolicy, as after a refused or lost connection. A server that holds no
/// value for any booked point never answers, so it is never live.
///
/// Connecting never blocks the event loop: the client's state signal drives
/// every step, and a burst of frames is handed on over several turns of the
/// event loop (RecordPacer), in order and always before the next change of
/// state is reported. Each attempt gets a fresh client, so nothing of a dropped
/// connection (a partial frame, a queued booking) reaches the next one.
class LinkSupervisor : public QObject
{
    Q_OBJECT

public:
    /// What the link is doing, as stateChanged() reports it.
    enum class State {
        Idle,           ///< not connected and no attempt planned
        Connecting,     ///< an attempt is under way (it gives up after 3 s)
        AwaitingAnswer, ///< connected and booked; the server has not answered yet
        Live,           ///< the server answered within the deadline
        WaitingToRetry, ///< not connected; the next attempt is planned
    };
    Q_ENUM(State)

    /// The longest silence of a live server before the link counts as lost.
    static constexpr int kDeadlineMs = 5000;
    /// How often a connected link asks the server for a value.
    static constexpr int kProbeMs = 1000;

    LinkSupervisor(const QString& address, quint16 port, QObject* parent = nullptr);
    ~LinkSupervisor() override;

    /// Books \a names on every connection from now on (at once if connected).
    void book(const QStringList& names);
    /// Connects and waits, keeping the event loop running, until the server
    /// answers or the attempt fails (at most about 8 s); false if it did not
    /// answer. No retry is planned then, but a link made here is kept up.
    bool open();
    /// Starts connecting and returns at once; from then on the link is kept up.
    void start();

    State state() const;
    /// Whether the server has answered within the deadline.
    bool isLive() const;
    /// Whether a connection is up, answered or not: writes go out.
    bool isConnected() const;
    /// Milliseconds until the next planned attempt, or -1 when none is planned.
    int msToNextAttempt() const;
    QString serverText() const;

    /// Writes \a record to the point \a name; false if it could not be sent.
    bool write(const QString& name, const stDt& record);
    /// TLS for the connections from the next attempt on (see Tavimor::setTls()).
    void setTls(const TavimorTls& tls) { tls_ = tls; }

signals:
    /// The state changed or a new attempt was planned. \a msToNextAttempt is the
    /// pause before that attempt (-1 when none is planned): a console counts
    /// down from the moment of the signal.
    void stateChanged(LinkSupervisor::State state, int msToNextAttempt);
    /// The link became live (the server answered) or stopped being live.
    void liveChanged(bool live);
    /// A connection was made and every point booked on it: channels send what
    /// waited for it now, so that its echo comes back on this connection.
    void connected();
    /// The updates of one frame, read replies left out, in the order received;
    /// in a burst possibly a few turns of the event loop after the read that
    /// brought them. The array is valid only during the call: connect
    /// directly, never queued.
    void recordsReceived(const stDt* records, int count);

private:
    void attempt();
    void onClientState();
    void onFrame(const stDt* records, int count);
    void probe();
    void drop();
    void scheduleRetry();
    bool bookOnClient(const QStringList& names);
    void setState(State state);

    QString address_;
    quint16 port_;
    QStringList names_;
    std::unique_ptr<Tavimor> client_;
    TavimorTls tls_;
    RetryPolicy retry_;
    QTimer* retry_timer_;
    QTimer* probe_timer_;
    QTimer* deadline_;
    RecordPacer pacer_;
    // The point read by the probe: one the server has answered for on this connection.
    QString probe_name_;
    // Whether a failed attempt or a lost link leads to another attempt.
    bool retrying_ = false;
    State state_ = State::Idle;
};
