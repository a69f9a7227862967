#pragma once

#include "console_keys.h"
#include "incident_sharing.h"
#include "console_clock.h"

#include <QCoreApplication>
#include <QHash>
#include <QObject>

class AuditTrail;

/// Checks the signed values the shared points bring before the station applies
/// them (docs/security.md, "Signed shared values").
///
/// A value is refused when it is not a signed value, names a console the ship
/// keys file does not list, carries a signature that does not verify, was
/// signed by another console than the one it names, lies outside the window
/// around its receipt, or is older than the newest value this station took for
/// the same point (a replay never undoes a newer action). The same value
/// delivered again (booking after a reconnection) is taken as known, without
/// the window: the state it carries is already shown.
///
/// A refusal is reported through refused() and the audit trail once per cause
/// and console, then again at most every kReportAgainMs with the number
/// refused in between, so a flood of forged values floods neither.
class ValueVerifier : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        Accepted,
        Known,
        Unsigned,
        UnknownConsole,
        ForgedConsole,
        BadSignature,
        TooOld,
        FromFuture,
        Replayed,
    };
    Q_ENUM(Outcome)

    struct Refusal {
        Outcome cause = Outcome::Unsigned;
        QString console;
        QString point;
        QString text;
        /// Refused for the same cause and console since the last report.
        int since = 0;
    };

    /// How far the action time of an accepted value may lie from its receipt:
    /// long enough for an incident's state brought at booking, short enough
    /// that a value of another day is refused; the future allows clock skew.
    struct Window {
        qint64 pastMs = 24LL * 60 * 60 * 1000;
        qint64 futureMs = 2LL * 60 * 1000;
    };

    static constexpr qint64 kReportAgainMs = 10LL * 60 * 1000;

    /// \a audit (may be null) receives every reported refusal, under the console the value names.
    ValueVerifier(ConsoleKeys keys, AuditTrail* audit, const ConsoleClock& clock = ConsoleClock::system(), QObject* parent = nullptr);

    void setWindow(const Window& window) { window_ = window; }

    /// Checks \a text received for \a point; on Accepted or Known, \a value
    /// holds what to apply.
    Outcome check(const QString& point, const QString& text, IncidentSharing::Value* value);
    /// Takes \a text as the newest value of \a point without a check: what the
    /// history recorded as applied, so a restarted station does not go back.
    void remember(const QString& point, const QString& text);

    /// The operator's sentence for a refusal.
    static QString describe(const Refusal& refusal);

signals:
    void refused(const ValueVerifier::Refusal& refusal);

private:
    struct Reported {
        qint64 at = 0;
        int since = 0;
    };

    Outcome verify(const QString& point, const QString& text, IncidentSharing::Value* value) const;
    void report(Outcome cause, const QString& point, const QString& text, const QString& console);

    ConsoleKeys keys_;
    AuditTrail* audit_;
    const ConsoleClock& clock_;
    Window window_;
    struct Newest {
        qint64 msecs = 0;
        QString text;
    };

    QHash<QString, Newest> newest_;
    QHash<QString, Reported> reported_;
};
Q_DECLARE_METATYPE(ValueVerifier::Refusal)
