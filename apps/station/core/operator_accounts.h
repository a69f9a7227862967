#pragma once

#include <QCoreApplication>
#include <QMap>
#include <QString>

/// The operators who may act at the consoles, in one accounts file
/// (docs/security.md, "Operators"): name, role, password hash
/// (crypto_pwhash_str, Argon2id) and the lock-out state, which survives a
/// restart of the station.
///
/// After kMaxFailures wrong passwords in a row an account is locked out for
/// kLockOutMs, whatever password is given meanwhile.
class OperatorAccounts
{
    Q_DECLARE_TR_FUNCTIONS(OperatorAccounts)

public:
    enum class Role { Viewer, Watchkeeper, Officer };

    enum class Result { Accepted, WrongPassword, LockedOut };

    static constexpr int kFormat = 1;
    static constexpr int kMaxFailures = 5;
    static constexpr qint64 kLockOutMs = 5LL * 60 * 1000;
    static constexpr int kMinPasswordLength = 8;
    /// Argon2id cost: about 50 ms and 19 MiB on the console's computer, so a
    /// log-in is quick while guessing offline from a stolen file is slow.
    static constexpr unsigned long long kOpsLimit = 2;
    static constexpr std::size_t kMemLimit = 19u * 1024 * 1024;

    /// Reads the accounts file \a path; a missing file is an empty list (and
    /// \a path is where changes go). False with \a error set for a file that
    /// cannot be read or is not an accounts file.
    bool load(const QString& path, QString* error);

    bool contains(const QString& name) const { return accounts_.contains(name); }
    Role role(const QString& name) const { return accounts_.value(name).role; }

    /// Checks \a password for \a name at \a now (ms since the epoch). An
    /// unknown name costs the same time as a wrong password and gives the
    /// same result, so names cannot be probed.
    Result authenticate(const QString& name, const QString& password, qint64 now);

    /// Adds or changes an account (a null \a password keeps the present one);
    /// false with \a error set for an empty name, a short password or a file
    /// that cannot be written.
    bool set(const QString& name, Role role, const QString& password, QString* error);
    bool remove(const QString& name, QString* error);

    static QString roleName(Role role);
    static bool roleFromName(const QString& name, Role* role);

private:
    struct Account {
        Role role = Role::Viewer;
        QByteArray hash;
        int failures = 0;
        qint64 lockedUntil = 0;
    };

    bool save(QString* error) const;

    QString path_;
    QMap<QString, Account> accounts_;
};
