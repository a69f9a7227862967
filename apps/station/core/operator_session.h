#pragma once

#include "audit_trail.h"
#include "operator_accounts.h"
#include "console_clock.h"

#include <QObject>

/// Who acts at this console (docs/security.md, "Operators").
///
/// Looking, the alarm list, the tones and silencing them never need a log-in:
/// an alarm is never hidden behind one. Every other action needs an operator
/// logged in whose role allows it:
///
/// | Role | May |
/// |---|---|
/// | viewer | nothing beyond what needs no log-in |
/// | watchkeeper | acknowledge, damage and recovery, teams, shelve up to kShelveLimitMs |
/// | officer | also shelve beyond that, boundaries, operators' accounts |
///
/// After kIdleLockMs without an action the session locks its actions (not the
/// display) until an operator logs in again. Log-ins, log-outs, failures,
/// refused actions and account changes go to the audit trail.
///
/// Account changes are audited one row per account and change, with the
/// officer who made them. Changes made to the accounts file from outside
/// (kelvane-station-admin, an editor) are found by comparing the file with the
/// accounts the trail last saw (kept beside it, AuditTrail::note()): at
/// recordOutsideChanges(), which the station calls at start, and before every
/// log-in and account change; they are audited with no operator.
class OperatorSession : public QObject
{
    Q_OBJECT

public:
    enum class Action {
        View,
        Silence,
        Acknowledge,
        Damage,
        Teams,
        Shelve,
        ShelveBeyondLimit,
        Boundaries,
        Users,
    };
    Q_ENUM(Action)

    static constexpr qint64 kIdleLockMs = 10LL * 60 * 1000;
    static constexpr qint64 kShelveLimitMs = 8LL * 60 * 60 * 1000;

    /// \a audit may be null; \a console names this station in its rows.
    OperatorSession(OperatorAccounts* accounts, AuditTrail* audit, const QString& console,
                    const ConsoleClock& clock = ConsoleClock::system(), QObject* parent = nullptr);

    /// Logs \a name in, replacing whoever was; the operator in place stays when it fails.
    OperatorAccounts::Result logIn(const QString& name, const QString& password);
    void logOut();

    /// The operator logged in, locked or not; empty if none.
    QString operatorName() const { return operator_; }
    /// True when an operator is logged in but idle for kIdleLockMs.
    bool isLocked() const;

    /// Whether \a action may be taken now; asks only (for enabling controls).
    bool may(Action action) const;
    /// The action a shelving for \a durationMs needs.
    static Action shelving(qint64 durationMs);
    /// For taking \a action: true and the idle time starts again, or false
    /// and the refusal goes to the audit trail.
    bool attempt(Action action);

    /// Account changes, for an officer: false with \a error set when refused
    /// or failed. setAccount() adds an account, changes its role or (with a
    /// password) sets a new password; see OperatorAccounts for what is refused.
    bool setAccount(const QString& name, OperatorAccounts::Role role, const QString& password, QString* error);
    bool removeAccount(const QString& name, QString* error);
    bool unlockAccount(const QString& name, QString* error);

    /// Takes in the accounts file as it is now and audits how it differs from
    /// what the trail last saw (every account counts as added the first time).
    void recordOutsideChanges();

    const OperatorAccounts& accounts() const { return *accounts_; }
    bool isLockedOut(const QString& name) const { return accounts_->isLockedOut(name, clock_.nowMs()); }

signals:
    /// Logged in or out: what the console offers changed. Locking after
    /// inactivity is not signalled: ask isLocked() or may() when showing controls.
    void changed();

private:
    void audit(AuditTrail::Kind kind, const QString& name, const QString& details);
    bool mayManageUsers(QString* error);
    /// Audits, as done by \a actor, how the accounts differ from those last seen.
    void recordAccountChanges(const QString& actor, const QString& suffix);

    OperatorAccounts* accounts_;
    AuditTrail* audit_;
    QString console_;
    const ConsoleClock& clock_;
    QString operator_;
    qint64 lastAction_ = 0;
    /// OperatorAccounts::fingerprints() as last audited; read from the trail on first use.
    QMap<QString, QString> seen_;
    bool seenRead_ = false;
};
