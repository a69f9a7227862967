#include "operator_accounts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <sodium.h>

#include <algorithm>
#include <iterator>

namespace {

const char* const kRoleNames[] = {"viewer", "watchkeeper", "officer"};

const QString kFormatKey = QStringLiteral("format");
const QString kAccountsKey = QStringLiteral("accounts");
const QString kNameKey = QStringLiteral("name");
const QString kRoleKey = QStringLiteral("role");
const QString kHashKey = QStringLiteral("password");
const QString kFailuresKey = QStringLiteral("failures");
const QString kLockedKey = QStringLiteral("locked_until");

QByteArray hashOf(const QString& password)
{
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.constData(), quint64(utf8.size()), OperatorAccounts::kOpsLimit,
                          OperatorAccounts::kMemLimit)
        != 0)
        return QByteArray();
    return QByteArray(hash);
}

bool matches(const QByteArray& hash, const QString& password)
{
    const QByteArray utf8 = password.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(), quint64(utf8.size())) == 0;
}

} // namespace

QString OperatorAccounts::roleName(Role role)
{
    return QLatin1String(kRoleNames[int(role)]);
}

bool OperatorAccounts::roleFromName(const QString& name, Role* role)
{
    for (int i = 0; i < int(std::size(kRoleNames)); ++i) {
        if (name == QLatin1String(kRoleNames[i])) {
            *role = Role(i);
            return true;
        }
    }
    return false;
}

bool OperatorAccounts::load(const QString& path, QString* error)
{
    if (sodium_init() < 0)
        qFatal("libsodium cannot be initialised");
    path_ = path;
    accounts_.clear();
    contents_.clear();
    return !QFile::exists(path) || reload(error);
}

bool OperatorAccounts::reload(QString* error)
{
    QFile file(path_);
    if (!file.exists() && contents_.isEmpty())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = tr("操作员账户文件 %1 无法读取或格式不对").arg(path_);
        return false;
    }
    const QByteArray contents = file.readAll();
    return contents == contents_ || parse(contents, error);
}

bool OperatorAccounts::parse(const QByteArray& contents, QString* error)
{
    const QJsonDocument document = QJsonDocument::fromJson(contents);
    if (!document.isObject() || document.object().value(kFormatKey).toInt() != kFormat) {
        *error = tr("操作员账户文件 %1 无法读取或格式不对").arg(path_);
        return false;
    }
    QMap<QString, Account> accounts;
    for (const QJsonValue& entry : document.object().value(kAccountsKey).toArray()) {
        const QJsonObject object = entry.toObject();
        Account account;
        account.hash = object.value(kHashKey).toString().toLatin1();
        account.failures = object.value(kFailuresKey).toInt();
        account.lockedUntil = qint64(object.value(kLockedKey).toDouble());
        const QString name = object.value(kNameKey).toString();
        if (name.isEmpty() || account.hash.isEmpty() || !roleFromName(object.value(kRoleKey).toString(), &account.role)) {
            *error = tr("操作员账户文件 %1 中账户 \"%2\" 无效").arg(path_, name);
            return false;
        }
        accounts.insert(name, account);
    }
    accounts_ = accounts;
    contents_ = contents;
    return true;
}

bool OperatorAccounts::save(QString* error)
{
    QJsonArray accounts;
    for (auto it = accounts_.cbegin(); it != accounts_.cend(); ++it) {
        accounts.append(QJsonObject{{kNameKey, it.key()},
                                    {kRoleKey, roleName(it->role)},
                                    {kHashKey, QString::fromLatin1(it->hash)},
                                    {kFailuresKey, it->failures},
                                    {kLockedKey, double(it->lockedUntil)}});
    }
    const QByteArray contents = QJsonDocument(QJsonObject{{kFormatKey, kFormat}, {kAccountsKey, accounts}}).toJson();
    QSaveFile file(path_);
    if (file.open(QIODevice::WriteOnly) && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        && file.write(contents) >= 0 && file.commit()) {
        contents_ = contents;
        return true;
    }
    *error = tr("无法写入操作员账户文件 %1: %2").arg(path_, file.errorString());
    return false;
}

bool OperatorAccounts::commit(const QMap<QString, Account>& changed, QString* error)
{
    const auto officers = [](const QMap<QString, Account>& accounts) {
        return std::count_if(accounts.cbegin(), accounts.cend(),
                             [](const Account& account) { return account.role == Role::Officer; });
    };
    if (officers(changed) == 0 && officers(accounts_) > 0) {
        *error = tr("不能删除或降级最后一名高级船员: 否则无人能管理操作员账户");
        return false;
    }
    const QMap<QString, Account> before = accounts_;
    accounts_ = changed;
    if (save(error))
        return true;
    accounts_ = before;
    return false;
}

QMap<QString, QString> OperatorAccounts::fingerprints() const
{
    QMap<QString, QString> fingerprints;
    for (auto it = accounts_.cbegin(); it != accounts_.cend(); ++it) {
        unsigned char digest[16];
        crypto_generichash(digest, sizeof digest, reinterpret_cast<const unsigned char*>(it->hash.constData()),
                           quint64(it->hash.size()), nullptr, 0);
        fingerprints.insert(it.key(), roleName(it->role) + QLatin1Char(' ')
                                          + QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(digest),
                                                                           sizeof digest)
                                                                    .toHex()));
    }
    return fingerprints;
}

OperatorAccounts::Result OperatorAccounts::authenticate(const QString& name, const QString& password, qint64 now)
{
    // What the file holds now, so an account added meanwhile can log in and
    // the failure count written below overwrites nothing; an unreadable file
    // leaves the accounts known and keeps the count in memory.
    QString error;
    const bool current = reload(&error);
    if (!current)
        qWarning("operator accounts: %s", qPrintable(error));
    const auto found = accounts_.find(name);
    if (found == accounts_.end()) {
        // The same work as for a real account: the answer's time tells nothing.
        static const QByteArray unknown = hashOf(QStringLiteral("no such operator"));
        matches(unknown, password);
        return Result::WrongPassword;
    }
    Account& account = found.value();
    if (now < account.lockedUntil)
        return Result::LockedOut;
    const bool accepted = matches(account.hash, password);
    const int failures = accepted ? 0 : account.failures + 1;
    const bool locking = failures >= kMaxFailures;
    if (failures != account.failures || locking) {
        account.failures = locking ? 0 : failures;
        account.lockedUntil = locking ? now + kLockOutMs : 0;
        if (current && !save(&error))
            qWarning("operator accounts: %s", qPrintable(error));
    }
    return accepted ? Result::Accepted : locking ? Result::LockedOut : Result::WrongPassword;
}

bool OperatorAccounts::set(const QString& name, Role role, const QString& password, QString* error)
{
    if (!reload(error))
        return false;
    const bool keepsPassword = password.isNull() && accounts_.contains(name);
    if (name.trimmed().isEmpty() || (!keepsPassword && password.size() < kMinPasswordLength)) {
        *error = tr("操作员名称不能为空，密码至少 %1 个字符").arg(kMinPasswordLength);
        return false;
    }
    QMap<QString, Account> changed = accounts_;
    Account& account = changed[name];
    account.role = role;
    if (!keepsPassword) {
        account.hash = hashOf(password);
        account.failures = 0;
        account.lockedUntil = 0;
        if (account.hash.isEmpty()) {
            *error = tr("无法计算密码散列");
            return false;
        }
    }
    return commit(changed, error);
}

bool OperatorAccounts::remove(const QString& name, QString* error)
{
    if (!reload(error))
        return false;
    QMap<QString, Account> changed = accounts_;
    return changed.remove(name) == 0 || commit(changed, error);
}

bool OperatorAccounts::unlock(const QString& name, QString* error)
{
    if (!reload(error))
        return false;
    if (!accounts_.contains(name)) {
        *error = tr("没有操作员 %1").arg(name);
        return false;
    }
    QMap<QString, Account> changed = accounts_;
    changed[name].failures = 0;
    changed[name].lockedUntil = 0;
    return commit(changed, error);
}
