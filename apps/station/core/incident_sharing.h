#pragma once

#include "retry_policy.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QStringList>

class LinkSupervisor;
class QTimer;
class ValueSigner;
class ValueVerifier;
struct stDt;

/// The incident state every console shares, carried by text data points of the
/// data server (docs/station.md, "Shared incident state"): a channel of the
/// station's one link (LinkSupervisor).
///
/// Each point holds the latest action on one thing (a compartment, one unit of
/// a team, a shelved alarm) as "<ms since epoch>|<console>|<payload>". Every
/// console books every point, its own writes included. Which value wins is the
/// reader's business (IncidentTracker: the newest by its time, then by console
/// name, everywhere), as is putting back what the server lacks (republish()).
/// Booking a point that has a value brings that value at once, which is how a
/// console started in the middle of an incident catches up.
///
/// A write counts as published only when the server sends it back. One made
/// while the link is down is kept (the latest per point) and sent when it
/// returns; one the server has not sent back within LinkSupervisor::kDeadlineMs
/// of a live link (it refuses to create a point when its pool is full) is
/// counted as refused and sent again as RetryPolicy says, until it is taken.
///
/// Once secured (secure()), every value written carries this console's
/// signature and every value received is checked first: one the verifier
/// refuses is never applied (docs/security.md). Unsecured, values go and are
/// taken as they are, as on a ship without keys.
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

    /// Names of the points for a compartment, a team unit and a shelved alarm.
    static QString damagePoint(quint64 compartmentId);
    static QString teamPoint(int teamType, int unit);
    static QString shelvePoint(const QString& tag);
    /// The point of an acknowledgement the item's own acknowledgement flag does
    /// not carry (a cleared alarm's, or one of an item without that point).
    static QString acknowledgementPoint(const QString& tag);
    /// The point of a damage boundary of the ship file, set by the crew or lifted.
    static QString boundaryPoint(quint64 boundaryId);

    /// Books \a points on \a link and publishes there under the name \a console.
    IncidentSharing(LinkSupervisor& link, const QString& console, QStringList points, QObject* parent = nullptr);

    /// Signs what this console writes with \a signer and checks what arrives
    /// with \a verifier (both must outlive this object); call before the link starts.
    void secure(const ValueSigner* signer, ValueVerifier* verifier);
    /// The name this console writes under.
    const QString& console() const { return console_; }

    /// Writes \a payload to \a point under this console's name and the current
    /// time; the change comes back through received() like anyone else's.
    /// Returns the value written; until the server sends it back it counts in
    /// unpublished(). A payload too long for the client's 128 bytes of text
    /// (GBK), with its signature when secured, is cut at its end to fit.
    Value publish(const QString& point, const QString& payload);

    /// Writes \a value to \a point as it is, its time and console kept: how a
    /// console puts back an action the server lost or holds an older one of.
    /// Secured, only this console's own values are put back (signed again):
    /// another console's would fail the check everywhere.
    void republish(const QString& point, const Value& value);

    /// Actions written here that the server has not sent back yet: waiting for
    /// the link, on their way, or refused.
    int unpublished() const;
    /// Of those, the ones the server did not take within the deadline.
    int refused() const;

signals:
    /// A connection was made and every point booked: the server's values follow.
    void linked();
    /// The server sent \a value for \a point (an update or the value at booking).
    void received(const QString& point, const IncidentSharing::Value& value);
    /// unpublished() or refused() changed; refused actions are sent again in
    /// \a msToRetry milliseconds (-1: none are refused).
    void publicationChanged(int unpublished, int refused, int msToRetry);

private:
    /// A write not sent back yet.
    struct Pending {
        QByteArray text; ///< as written (GBK), compared with what comes back
        qint64 sentAt = -1; ///< when it went out on this connection, -1 not since the last judgement
        bool refused = false;
    };

    void deliver(const stDt* records, int count);
    void sendAll(bool refusedOnly);
    void write(const QString& point, const QByteArray& text);
    void send(const QString& point, Pending& pending);
    void judge();
    void report();

    LinkSupervisor& link_;
    QString console_;
    const ValueSigner* signer_ = nullptr;
    ValueVerifier* verifier_ = nullptr;
    QElapsedTimer clock_;
    QHash<QString, Pending> pending_;
    RetryPolicy retry_;
    QTimer* retry_timer_;
    QTimer* judge_timer_;
};
