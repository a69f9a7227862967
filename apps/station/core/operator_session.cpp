#include "operator_session.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaEnum>

namespace {

OperatorAccounts::Role leastRoleFor(OperatorSession::Action action)
{
    using Action = OperatorSession::Action;
    using Role = OperatorAccounts::Role;
    switch (action) {
    case Action::View:
    case Action::Silence:
        return Role::Viewer;
    case Action::Acknowledge:
    case Action::Damage:
    case Action::Teams:
    case Action::Shelve:
        return Role::Watchkeeper;
    case Action::ShelveBeyondLimit:
    case Action::Boundaries:
    case Action::Users:
        break;
    }
    return Role::Officer;
}

QString actionName(OperatorSession::Action action)
{
    return QLatin1String(QMetaEnum::fromType<OperatorSession::Action>().valueToKey(int(action)));
}

const QString kAccountsNote = QStringLiteral("audit_accounts");

// One line per account that differs between the fingerprints \a before and
// \a after ("<role> <password digest>"): "li: added as watchkeeper",
// "li: watchkeeper -> officer, password set", "li: removed".
QStringList accountChanges(const QMap<QString, QString>& before, const QMap<QString, QString>& after)
{
    QStringList changes;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key())) {
            changes.append(QStringLiteral("%1: removed").arg(it.key()));
            continue;
        }
        const QStringList was = it.value().split(QLatin1Char(' '));
        const QStringList is = after.value(it.key()).split(QLatin1Char(' '));
        QStringList what;
        if (was.first() != is.first())
            what.append(QStringLiteral("%1 -> %2").arg(was.first(), is.first()));
        if (was.last() != is.last())
            what.append(QStringLiteral("password set"));
        if (!what.isEmpty())
            changes.append(it.key() + QStringLiteral(": ") + what.join(QStringLiteral(", ")));
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (!before.contains(it.key()))
            changes.append(QStringLiteral("%1: added as %2").arg(it.key(), it.value().section(QLatin1Char(' '), 0, 0)));
    }
    return changes;
}

} // namespace

OperatorSession::OperatorSession(OperatorAccounts* accounts, AuditTrail* audit, const QString& console,
                                 const ConsoleClock& clock, QObject* parent)
    : QObject(parent)
    , accounts_(accounts)
    , audit_(audit)
    , console_(console)
    , clock_(clock)
{
}

void OperatorSession::audit(AuditTrail::Kind kind, const QString& name, const QString& details)
{
    if (audit_)
        audit_->append(kind, name, console_, details);
}

OperatorAccounts::Result OperatorSession::logIn(const QString& name, const QString& password)
{
    recordOutsideChanges();
    const OperatorAccounts::Result result = accounts_->authenticate(name, password, clock_.nowMs());
    if (result != OperatorAccounts::Result::Accepted) {
        audit(AuditTrail::Kind::FailedLogIn, name,
              result == OperatorAccounts::Result::LockedOut ? QStringLiteral("locked out")
                                                            : QStringLiteral("wrong name or password"));
        return result;
    }
    if (!operator_.isEmpty())
        logOut();
    operator_ = name;
    lastAction_ = clock_.nowMs();
    audit(AuditTrail::Kind::LogIn, name, OperatorAccounts::roleName(accounts_->role(name)));
    emit changed();
    return result;
}

void OperatorSession::logOut()
{
    if (operator_.isEmpty())
        return;
    audit(AuditTrail::Kind::LogOut, operator_, isLocked() ? QStringLiteral("after lock") : QString());
    operator_.clear();
    emit changed();
}

bool OperatorSession::isLocked() const
{
    return !operator_.isEmpty() && clock_.nowMs() - lastAction_ >= kIdleLockMs;
}

bool OperatorSession::may(Action action) const
{
    const OperatorAccounts::Role least = leastRoleFor(action);
    if (least == OperatorAccounts::Role::Viewer)
        return true;
    // An account removed or demoted meanwhile counts from its next action on.
    return !operator_.isEmpty() && !isLocked() && accounts_->contains(operator_)
        && int(accounts_->role(operator_)) >= int(least);
}

OperatorSession::Action OperatorSession::shelving(qint64 durationMs)
{
    return durationMs > kShelveLimitMs ? Action::ShelveBeyondLimit : Action::Shelve;
}

bool OperatorSession::attempt(Action action)
{
    if (!may(action)) {
        audit(AuditTrail::Kind::ActionRefused, operator_,
              actionName(action) + (isLocked() ? QStringLiteral(" (locked)") : QString()));
        return false;
    }
    if (!operator_.isEmpty())
        lastAction_ = clock_.nowMs();
    return true;
}

bool OperatorSession::mayManageUsers(QString* error)
{
    recordOutsideChanges();
    if (attempt(Action::Users))
        return true;
    *error = tr("只有已登录的高级船员可以管理操作员账户");
    return false;
}

void OperatorSession::recordOutsideChanges()
{
    QString error;
    if (!accounts_->reload(&error))
        qWarning("operator accounts: %s", qPrintable(error));
    recordAccountChanges(QString(), QStringLiteral(" (accounts file)"));
}

void OperatorSession::recordAccountChanges(const QString& actor, const QString& suffix)
{
    if (!audit_)
        return;
    if (!seenRead_) {
        const QVariantMap seen = QJsonDocument::fromJson(audit_->note(kAccountsNote).toUtf8()).object().toVariantMap();
        for (auto it = seen.cbegin(); it != seen.cend(); ++it)
            seen_.insert(it.key(), it.value().toString());
        seenRead_ = true;
    }
    const QMap<QString, QString> now = accounts_->fingerprints();
    if (now == seen_)
        return;
    bool written = true;
    for (const QString& change : accountChanges(seen_, now))
        written = audit_->append(AuditTrail::Kind::UserChanged, actor, console_, change + suffix) && written;
    seen_ = now;
    // Only once the rows are in: a crash before would audit the changes again
    // at the next start rather than never.
    if (written) {
        QVariantMap seen;
        for (auto it = now.cbegin(); it != now.cend(); ++it)
            seen.insert(it.key(), it.value());
        audit_->keepNote(kAccountsNote, QString::fromUtf8(QJsonDocument(QJsonObject::fromVariantMap(seen)).toJson(
                                            QJsonDocument::Compact)));
    }
}

bool OperatorSession::setAccount(const QString& name, OperatorAccounts::Role role, const QString& password,
                                 QString* error)
{
    if (!mayManageUsers(error) || !accounts_->set(name, role, password, error))
        return false;
    recordAccountChanges(operator_, QString());
    return true;
}

bool OperatorSession::removeAccount(const QString& name, QString* error)
{
    if (!mayManageUsers(error) || !accounts_->remove(name, error))
        return false;
    recordAccountChanges(operator_, QString());
    return true;
}

bool OperatorSession::unlockAccount(const QString& name, QString* error)
{
    if (!mayManageUsers(error) || !accounts_->unlock(name, error))
        return false;
    audit(AuditTrail::Kind::UserChanged, operator_, QStringLiteral("%1: unlocked").arg(name));
    return true;
}
