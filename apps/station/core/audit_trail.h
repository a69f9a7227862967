#pragma once

#include "console_clock.h"

#include <QObject>
#include <QString>
#include <QVector>

/// The audit trail: who logged in and out, failed log-ins, user and role
/// changes, configuration changes, link losses and refused shared values, in
/// the table `audit` of the station's history database (docs/security.md).
///
/// Each row holds the hash (BLAKE2b-256) of the row before it and its own
/// fields, and the newest row's id and hash are kept in `meta`, so a row
/// edited, removed from the middle or from the end is found by check(). The
/// history's retention never touches this table.
///
/// Rows are written at once, each in its own short transaction: they are rare
/// (a log-in, a refusal reported once per cause). A row the file does not take
/// is kept and written with the next one. failingChanged() says when the trail
/// starts failing (a trail that cannot be opened, or a row refused) and when
/// rows go through again: once each, not for every row, so the operator is
/// told without being flooded.
class AuditTrail : public QObject
{
    Q_OBJECT

public:
    enum class Kind {
        LogIn,
        LogOut,
        FailedLogIn,
        ActionRefused,
        UserChanged,
        ConfigurationChanged,
        LinkLost,
        ValueRefused,
    };

    struct Row {
        qint64 id = 0;
        /// Receipt time: when this station took note, ms since the epoch.
        qint64 msecs = 0;
        Kind kind = Kind::LogIn;
        QString operatorName;
        QString console;
        QString details;
    };

    /// What check() found.
    struct Verdict {
        bool intact = false;
        qint64 rows = 0;
        /// The first row found wrong (or missing); 0 when intact.
        qint64 brokenAt = 0;
        QString problem;
    };

    /// Rows kept in memory while the file refuses them; beyond, the oldest go, with a warning.
    static constexpr int kMaxUnwritten = 10000;

    explicit AuditTrail(const ConsoleClock& clock = ConsoleClock::system(), QObject* parent = nullptr);
    ~AuditTrail() override;

    /// Opens the history database \a path (created if missing) and adds the
    /// table if it has none; false with \a error set when it cannot.
    bool open(const QString& path, QString* error);

    /// Appends a row at the clock's time; false when the file did not take it yet.
    bool append(Kind kind, const QString& operatorName, const QString& console, const QString& details);
    /// Appends a configuration change when the file \a path under \a label
    /// differs from what the trail last recorded for \a label (or was never recorded).
    bool recordFile(const QString& label, const QString& path, const QString& console);

    /// Every row, oldest first.
    QVector<Row> rows() const;

    /// What the trail keeps beside its rows under \a key, empty if none: a
    /// baseline to compare with at the next start (the accounts last seen),
    /// outside the chain, so not proof of anything by itself.
    QString note(const QString& key) const;
    /// False when the file did not take it.
    bool keepNote(const QString& key, const QString& value);

    /// Checks the chain of the history database \a path without changing it.
    static Verdict check(const QString& path);

    static QString kindName(Kind kind);

signals:
    /// The trail started failing (\a problem says why; rows wait in memory and
    /// are tried again with the next) or, \a failing false, wrote again.
    void failingChanged(bool failing, const QString& problem);

private:
    /// False with \a error set when the file did not take the rows waiting.
    bool writeUnwritten(QString* error);
    void setFailing(bool failing, const QString& problem);

    const ConsoleClock& clock_;
    QString connection_;
    QVector<Row> unwritten_;
    bool failing_ = false;
};
