#include "operator_session.h"

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

} // namespace

OperatorSession::OperatorSession(OperatorAccounts* accounts, AuditTrail* audit, const QString& console,
                                 StationClock clock, QObject* parent)
    : QObject(parent)
    , accounts_(accounts)
    , audit_(audit)
    , console_(console)
    , clock_(std::move(clock))
{
}

void OperatorSession::audit(AuditTrail::Kind kind, const QString& name, const QString& details)
{
    if (audit_)
        audit_->append(kind, name, console_, details);
}

OperatorAccounts::Result OperatorSession::logIn(const QString& name, const QString& password)
{
    const OperatorAccounts::Result result = accounts_->authenticate(name, password, clock_());
    if (result != OperatorAccounts::Result::Accepted) {
        audit(AuditTrail::Kind::FailedLogIn, name,
              result == OperatorAccounts::Result::LockedOut ? QStringLiteral("locked out")
                                                            : QStringLiteral("wrong name or password"));
        return result;
    }
    if (!operator_.isEmpty())
        logOut();
    operator_ = name;
    lastAction_ = clock_();
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
    return !operator_.isEmpty() && clock_() - lastAction_ >= kIdleLockMs;
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
        lastAction_ = clock_();
    return true;
}

bool OperatorSession::mayManageUsers(QString* error)
{
    if (attempt(Action::Users))
        return true;
    *error = tr("只有已登录的高级船员可以管理操作员账户");
    return false;
}

bool OperatorSession::setAccount(const QString& name, OperatorAccounts::Role role, const QString& password,
                                 QString* error)
{
    if (!mayManageUsers(error))
        return false;
    const bool existed = accounts_->contains(name);
    const OperatorAccounts::Role before = accounts_->role(name);
    if (!accounts_->set(name, role, password, error))
        return false;
    QString details = existed ? QStringLiteral("%1: %2 -> %3")
                                    .arg(name, OperatorAccounts::roleName(before), OperatorAccounts::roleName(role))
                              : QStringLiteral("%1: added as %2").arg(name, OperatorAccounts::roleName(role));
    if (existed && !password.isNull())
        details += QStringLiteral(", password set");
    audit(AuditTrail::Kind::UserChanged, operator_, details);
    return true;
}

bool OperatorSession::removeAccount(const QString& name, QString* error)
{
    if (!mayManageUsers(error) || !accounts_->remove(name, error))
        return false;
    audit(AuditTrail::Kind::UserChanged, operator_, QStringLiteral("%1: removed").arg(name));
    return true;
}
