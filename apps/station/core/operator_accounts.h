#pragma once

#include <QCoreApplication>
#include <QMap>
#include <QString>
#include <QStringList>

/// The operators who may act at the consoles, in one accounts file
/// (docs/security.md, "Operators"): name, role, password hash
/// (crypto_pwhash_str, Argon2id) and the lock-out state, which survives a
/// restart of the station.
///
/// After kMaxFailures wrong passwords in a row an account is locked out for
/// kLockOutMs, whatever password is given meanwhile.
///
/// The file may be changed by another program (kelvane-station-admin) while a
/// station holds it: every change here first takes in what the file holds
/// now (reload()), so nothing written meanwhile is overwritten. The last
/// officer can be neither removed nor demoted: nobody could manage the
/// accounts at a console any more.
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

    /// Takes in the file's accounts when it changed since it was last read or
    /// written here; false with \a error set (and the accounts kept) when it
    /// cannot be read or is not an accounts file.
    bool reload(QString* error);

    bool contains(const QString& name) const { return accounts_.contains(name); }
    Role role(const QString& name) const { return accounts_.value(name).role; }
    QStringList names() const { return accounts_.keys(); }
    bool isLockedOut(const QString& name, qint64 now) const { return now < accounts_.value(name).lockedUntil; }
    /// For each account, its role and a digest of its password hash, so a
    /// later look tells which accounts were added, removed, given another role
    /// or another password without keeping the hashes themselves.
    QMap<QString, QString> fingerprints() const;

    /// Checks \a password for \a name at \a now (ms since the epoch). An
    /// unknown name costs the same time as a wrong password and gives the
    /// same result, so names cannot be probed.
    Result authenticate(const QString& name, const QString& password, qint64 now);

    /// Adds or changes an account (a null \a password keeps the present one;
    /// a new one also ends a lock-out); false with \a error set for an empty
    /// name, a short password, the last officer demoted or a file that cannot
    /// be read or written.
    bool set(const QString& name, Role role, const QString& password, QString* error);
    /// False with \a error set for the last officer or a file that cannot be read or written.
    bool remove(const QString& name, QString* error);
    /// Ends a lock-out and forgets the failures; false with \a error set for
    /// an unknown name or a file that cannot be read or written.
    bool unlock(const QString& name, QString* error);

    static QString roleName(Role role);
    static bool roleFromName(const QString& name, Role* role);

private:
    struct Account {
        Role role = Role::Viewer;
        QByteArray hash;
        int failures = 0;
        qint64 lockedUntil = 0;
    };

    bool parse(const QByteArray& contents, QString* error);
    bool save(QString* error);
    /// Makes \a changed the accounts and saves them, unless it leaves no
    /// officer where there was one; all or nothing.
    bool commit(const QMap<QString, Account>& changed, QString* error);

    QString path_;
    /// The file as last read or written here; reload() reads it again when it differs.
    QByteArray contents_;
    QMap<QString, Account> accounts_;
};
