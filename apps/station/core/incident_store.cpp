#include "incident_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 kMsPerDay = 24LL * 60 * 60 * 1000;
// Pruning runs at opening and then about every ten minutes of flushes.
constexpr int kFlushesPerPrune = 2400;
constexpr int kBusyMs = 50;
// What may wait in memory while the file cannot be written: about a minute of a busy incident.
constexpr int kMaxQueued = 20000;
// SQLite's primary result codes for a file that is not a sound database.
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;
constexpr int kPrimaryCodeMask = 0xff;

const char* const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS events (id INTEGER PRIMARY KEY, at_ms INTEGER NOT NULL, kind TEXT NOT NULL, "
    "subject TEXT NOT NULL, place TEXT NOT NULL, console TEXT NOT NULL, value TEXT NOT NULL, received_ms INTEGER, "
    "priority TEXT, damage TEXT)",
    "CREATE INDEX IF NOT EXISTS events_at ON events (at_ms)",
    "CREATE INDEX IF NOT EXISTS events_subject ON events (subject, id)",
    "CREATE TABLE IF NOT EXISTS samples (tag TEXT NOT NULL, at_ms INTEGER NOT NULL, value REAL NOT NULL, "
    "shown REAL NOT NULL)",
    "CREATE INDEX IF NOT EXISTS samples_at ON samples (at_ms)",
    "CREATE INDEX IF NOT EXISTS samples_tag ON samples (tag, at_ms)",
};

// A null QString binds as SQL NULL; the text columns hold '' for "none".
QVariant text(const QString& value)
{
    return value.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(value);
}

// Columns added to the events table since version 1, each empty in older rows.
const char* const kAddedEventColumns[][2] = {
    {"received_ms", "INTEGER"},
    {"operator", "TEXT"},
    {"priority", "TEXT"},
    {"damage", "TEXT"},
    {"first_out", "INTEGER"},
};

const char kEventColumns[]
    = "SELECT at_ms, kind, subject, place, console, value, operator, priority, damage, first_out FROM events ";

// The rows of \a sql, each its first column mapped to its second as \a read gives
// it; none when the query fails.
template <typename Value, typename Read>
QHash<QString, Value> keyedRows(const QSqlDatabase& db, const QString& sql, Read read)
{
    QHash<QString, Value> rows;
    QSqlQuery query(db);
    if (query.exec(sql)) {
        while (query.next())
            rows.insert(query.value(0).toString(), read(query.value(1)));
    }
    return rows;
}

// The rows of a prepared query selecting tag, time, value and shown value, in
// order; none when it fails.
QVector<IncidentStore::Sample> readSamples(QSqlQuery& query)
{
    QVector<IncidentStore::Sample> out;
    if (query.exec()) {
        while (query.next())
            out.append({query.value(0).toString(), query.value(1).toLongLong(), query.value(2).toDouble(),
                        query.value(3).toDouble()});
    }
    return out;
}

} // namespace

IncidentStore::IncidentStore(QObject* parent)
    : QObject(parent)
    , flush_timer_(new QTimer(this))
{
    qRegisterMetaType<IncidentStore::State>();
    flush_timer_->setInterval(kFlushMs);
    connect(flush_timer_, &QTimer::timeout, this, &IncidentStore::flush);
}

IncidentStore::~IncidentStore()
{
    if (isOpen())
        flush();
    close();
}

bool IncidentStore::open(const QString& path, QString* error)
{
    close();
    if (openDatabase(path, error))
        return true;
    setState(State::Off, *error);
    return false;
}

bool IncidentStore::openOwn(const QString& path)
{
    close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    lock_ = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    // A station runs for months: only an owner that is gone makes the lock stale, never its age.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        qint64 pid = 0;
        QString host;
        QString application;
        const bool held = lock_->error() == QLockFile::LockFailedError && lock_->getLockInfo(&pid, &host, &application);
        lock_.reset();
        setState(State::Off, held ? tr("历史记录已关闭: 历史数据库 %1 正由另一个控制台使用(%2 上的进程 %3)")
                                        .arg(QDir::toNativeSeparators(path), host)
                                        .arg(pid)
                                  : tr("历史记录已关闭: 无法锁定历史数据库 %1").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    QString error;
    if (openDatabase(path, &error)) {
        prune(QDateTime::currentMSecsSinceEpoch());
        return state_ == State::Writing;
    }
    if (lastErrorIsDamage()) {
        QString notice;
        if (startFresh(&notice))
            return true;
        error = notice;
    }
    lock_.reset();
    setState(State::Off, tr("历史记录已关闭: %1").arg(error));
    return false;
}

bool IncidentStore::startFresh(QString* notice)
{
    close();
    const QString aside
        = path_ + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    if (!QFile::rename(path_, aside)) {
        *notice = tr("历史数据库 %1 已损坏, 且无法移开").arg(QDir::toNativeSeparators(path_));
        return false;
    }
    // The journal belongs to the damaged file and goes with it.
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::rename(path_ + suffix, aside + suffix);
    QString error;
    if (!openDatabase(path_, &error)) {
        *notice = error;
        return false;
    }
    *notice = tr("历史数据库 %1 已损坏, 已移至 %2, 新的历史从现在开始")
                  .arg(QDir::toNativeSeparators(path_), QDir::toNativeSeparators(aside));
    setState(state_, *notice);
    return state_ == State::Writing;
}

bool IncidentStore::openDatabase(const QString& path, QString* error)
{
    const QString name = QStringLiteral("incident-store-%1").arg(quintptr(this));
    path_ = path;
    last_error_ = QSqlError();
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        // Qt waits 5 s for a locked file by default; the window must not.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyMs));
        if (!db.open()) {
            last_error_ = db.lastError();
            *error = tr("无法打开历史数据库 %1: %2").arg(path, db.lastError().text());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return false;
        }
    }
    connection_ = name;
    bool ok = exec(QStringLiteral("PRAGMA journal_mode=WAL")) && exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    for (const char* statement : kSchema)
        ok = ok && exec(QLatin1String(statement));
    int found = 0;
    {
        QSqlQuery query(QSqlDatabase::database(connection_));
        // Histories written before a column was kept get it, empty in their old rows.
        for (const auto& column : kAddedEventColumns) {
            ok = ok
                && query.exec(QStringLiteral("SELECT 1 FROM pragma_table_info('events') WHERE name = '%1'")
                                  .arg(QLatin1String(column[0])));
            const bool present = ok && query.next();
            query.finish();
            ok = ok
                && (present
                    || exec(QStringLiteral("ALTER TABLE events ADD COLUMN %1 %2")
                                .arg(QLatin1String(column[0]), QLatin1String(column[1]))));
        }
        ok = ok && query.exec(QStringLiteral("SELECT value FROM meta WHERE key = 'schema_version'"));
        found = ok && query.next() ? query.value(0).toInt() : 0;
        if (!ok)
            last_error_ = query.lastError().isValid() ? query.lastError() : last_error_;
    }
    if (ok && found == 0)
        ok = exec(QStringLiteral("INSERT INTO meta VALUES ('schema_version', '%1')").arg(kSchemaVersion));
    if (!ok || found > kSchemaVersion) {
        *error = ok ? tr("历史数据库 %1 的格式 %2 比本程序新").arg(path).arg(found)
                    : tr("历史数据库 %1 无法使用: %2").arg(QFileInfo(path).absoluteFilePath(), last_error_.text());
        close();
        return false;
    }
    // SQLite opens a file it may only read without a word, and refuses the first
    // write; taking the write lock alone does not tell. This write changes nothing.
    const bool begun = exec(QStringLiteral("BEGIN IMMEDIATE"));
    const bool writable = begun && exec(QStringLiteral("DELETE FROM meta WHERE key IS NULL"));
    if (begun)
        exec(QStringLiteral("ROLLBACK"));
    if (writable)
        flush_timer_->start();
    setState(writable ? State::Writing : State::Off,
             writable ? QString()
                      : tr("历史记录已关闭: 历史数据库 %1 不能写入(%2)").arg(path, last_error_.text()));
    return true;
}

void IncidentStore::close()
{
    if (!isOpen())
        return;
    flush_timer_->stop();
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
    connection_.clear();
}

void IncidentStore::setState(State state, const QString& problem)
{
    if (state == state_ && problem == problem_)
        return;
    state_ = state;
    problem_ = problem;
    emit stateChanged(state_, problem_);
}

bool IncidentStore::lastErrorIsDamage() const
{
    const int code = last_error_.nativeErrorCode().toInt() & kPrimaryCodeMask;
    return code == kSqliteCorrupt || code == kSqliteNotADatabase;
}

void IncidentStore::setLimits(const Limits& limits)
{
    limits_ = limits;
    if (isOpen())
        prune(QDateTime::currentMSecsSinceEpoch());
}

bool IncidentStore::exec(const QString& statement)
{
    QSqlQuery query(QSqlDatabase::database(connection_));
    if (query.exec(statement))
        return true;
    last_error_ = query.lastError();
    qWarning("incident store: %s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
    return false;
}

void IncidentStore::record(const IncidentEvent& event)
{
    if (!writing())
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QueuedEvent queued{event, now};
    // A time a peer claims is believed within bounds: far back it would be
    // pruned at once, ahead it would stay the newest for ever.
    if (event.msecs < now - qint64(limits_.retentionDays) * kMsPerDay || event.msecs > now + kMaxAheadMs)
        queued.event.msecs = now;
    events_.append(queued);
}

void IncidentStore::recordSample(const QString& tag, qint64 msecs, double value, double shown, bool abnormal)
{
    // Not a value: nothing a trend can draw or a replay play (and SQLite would store NULL).
    if (!writing() || std::isnan(value) || std::isnan(shown))
        return;
    const auto found = pending_.find(tag);
    if (found == pending_.end()) {
        queueSample({tag, msecs, value, shown}, pending_[tag], abnormal);
        return;
    }
    Pending& pending = found.value();
    if (abnormal != pending.lastAbnormal || msecs - pending.lastMsecs >= kSampleGapMs) {
        if (pending.waiting && abnormal != pending.lastAbnormal)
            samples_.append(pending.waitingSample);
        if (value != pending.lastValue || abnormal != pending.lastAbnormal)
            queueSample({tag, msecs, value, shown}, pending, abnormal);
        pending.waiting = false;
        return;
    }
    pending.waiting = value != pending.lastValue;
    pending.waitingSample = {tag, msecs, value, shown};
}

void IncidentStore::queueSample(const Sample& sample, Pending& pending, bool abnormal)
{
    samples_.append(sample);
    pending.lastMsecs = sample.msecs;
    pending.lastValue = sample.value;
    pending.lastAbnormal = abnormal;
}

bool IncidentStore::flush()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (auto it = pending_.begin(); it != pending_.end(); ++it) {
        Pending& pending = it.value();
        if (pending.waiting && now - pending.lastMsecs >= kSampleGapMs) {
            pending.waiting = false;
            queueSample(pending.waitingSample, pending, pending.lastAbnormal);
        }
    }
    if (!writing() || (events_.isEmpty() && samples_.isEmpty()))
        return true;

    QSqlDatabase db = QSqlDatabase::database(connection_);
    bool ok = db.transaction();
    QSqlQuery insertEvent(db);
    ok = ok
        && insertEvent.prepare(QStringLiteral("INSERT INTO events (at_ms, kind, subject, place, console, value, "
                                              "received_ms, operator, priority, damage, first_out) "
                                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QueuedEvent& queued : qAsConst(events_)) {
        if (!ok)
            break;
        const IncidentEvent& event = queued.event;
        for (const QVariant& v : {QVariant(event.msecs), text(IncidentEvent::kindName(event.kind)),
                                  text(event.subject), text(event.place), text(event.console), text(event.value),
                                  QVariant(queued.receivedMsecs), QVariant(event.operatorName), text(event.priority),
                                  text(event.damage), QVariant(int(event.firstOut))})
            insertEvent.addBindValue(v);
        ok = insertEvent.exec();
    }
    QSqlQuery insertSample(db);
    ok = ok
        && insertSample.prepare(QStringLiteral("INSERT INTO samples (tag, at_ms, value, shown) VALUES (?, ?, ?, ?)"));
    for (const Sample& sample : qAsConst(samples_)) {
        if (!ok)
            break;
        insertSample.addBindValue(sample.tag);
        insertSample.addBindValue(sample.msecs);
        insertSample.addBindValue(sample.value);
        insertSample.addBindValue(sample.shown);
        ok = insertSample.exec();
    }
    ok = ok && db.commit();
    if (ok && state_ == State::Failing)
        setState(State::Writing, QString());
    if (!ok) {
        last_error_ = insertSample.lastError().isValid() ? insertSample.lastError()
            : insertEvent.lastError().isValid()          ? insertEvent.lastError()
                                                         : db.lastError();
        db.rollback();
        // A file that went bad under a running station is set aside like one found bad at start.
        if (lock_ && lastErrorIsDamage()) {
            QString notice;
            if (!startFresh(&notice))
                setState(State::Off, tr("历史记录已关闭: %1").arg(notice));
            return false;
        }
        // A file held for a moment by another process is worth waiting for; a queue that keeps growing is not.
        if (events_.size() + samples_.size() <= kMaxQueued) {
            setState(State::Failing, tr("历史写入失败: %1").arg(last_error_.text()));
            return false;
        }
        setState(State::Failing, tr("历史写入失败, %1 条记录已丢失: %2")
                                     .arg(events_.size() + samples_.size())
                                     .arg(last_error_.text()));
        qWarning("incident store: %d events and %d samples lost: %s", int(events_.size()), int(samples_.size()),
                 qPrintable(last_error_.text()));
    }
    events_.clear();
    samples_.clear();
    if (++flushes_ % kFlushesPerPrune == 0)
        prune(now);
    return ok;
}

QVector<IncidentEvent> IncidentStore::readEvents(const QString& where, const QVariantList& values)
{
    flush();
    QVector<IncidentEvent> events;
    if (!isOpen())
        return events;
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QLatin1String(kEventColumns) + where);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return events;
    while (query.next()) {
        IncidentEvent event;
        // Rows of an unknown kind (written by a newer station) are left out.
        if (!IncidentEvent::kindFromName(query.value(1).toString(), &event.kind))
            continue;
        event.msecs = query.value(0).toLongLong();
        event.subject = query.value(2).toString();
        event.place = query.value(3).toString();
        event.console = query.value(4).toString();
        event.value = query.value(5).toString();
        event.operatorName = query.value(6).toString();
        event.priority = query.value(7).toString();
        event.damage = query.value(8).toString();
        event.firstOut = query.value(9).toBool();
        events.append(event);
    }
    return events;
}

QVector<IncidentEvent> IncidentStore::recent(int limit)
{
    QVector<IncidentEvent> events
        = readEvents(QStringLiteral("ORDER BY at_ms DESC, id DESC LIMIT ?"), {qMax(limit, 0)});
    std::reverse(events.begin(), events.end());
    return events;
}

QVector<IncidentEvent> IncidentStore::between(qint64 from, qint64 to)
{
    return readEvents(QStringLiteral("WHERE at_ms BETWEEN ? AND ? ORDER BY at_ms, id"), {from, to});
}

QVector<IncidentStore::Sample> IncidentStore::samples(qint64 from, qint64 to, const QString& tag)
{
    flush();
    if (!isOpen())
        return {};
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("SELECT tag, at_ms, value, shown FROM samples WHERE at_ms BETWEEN ? AND ? %1 "
                                 "ORDER BY at_ms, rowid")
                      .arg(tag.isEmpty() ? QString() : QStringLiteral("AND tag = ?")));
    query.addBindValue(from);
    query.addBindValue(to);
    if (!tag.isEmpty())
        query.addBindValue(tag);
    return readSamples(query);
}

QVector<IncidentStore::Sample> IncidentStore::lastSamplesAt(qint64 at)
{
    flush();
    if (!isOpen())
        return {};
    QSqlQuery query(QSqlDatabase::database(connection_));
    // SQLite takes the other columns from the row holding the maximum.
    query.prepare(QStringLiteral("SELECT tag, MAX(at_ms), value, shown FROM samples WHERE at_ms <= ? GROUP BY tag"));
    query.addBindValue(at);
    return readSamples(query);
}

QHash<QString, IncidentStore::LastAlarm> IncidentStore::lastAlarms(const QString& acknowledgementPrefix)
{
    flush();
    QHash<QString, LastAlarm> alarms;
    if (!isOpen())
        return alarms;
    QSqlQuery query(QSqlDatabase::database(connection_));
    // An acknowledgement dated before the raise, though recorded after it, was of an earlier alarm.
    query.prepare(QStringLiteral(
        "SELECT r.subject, r.at_ms, r.first_out, "
        "EXISTS (SELECT 1 FROM events c WHERE c.subject = r.subject AND c.id > r.id AND c.kind = 'alarm_cleared'), "
        "EXISTS (SELECT 1 FROM events a WHERE a.subject IN (r.subject, ? || r.subject) AND a.id > r.id "
        "AND a.kind = 'acknowledged' AND a.at_ms >= r.at_ms) "
        "FROM events r WHERE r.kind = 'alarm_raised' AND r.id = "
        "(SELECT MAX(id) FROM events WHERE subject = r.subject AND kind = 'alarm_raised')"));
    query.addBindValue(acknowledgementPrefix);
    if (!query.exec())
        return alarms;
    while (query.next())
        alarms.insert(query.value(0).toString(), {query.value(1).toLongLong(), query.value(3).toBool(),
                                                  query.value(4).toBool(), query.value(2).toBool()});
    return alarms;
}

QHash<QString, QString> IncidentStore::lastActionValues()
{
    flush();
    if (!isOpen())
        return {};
    return keyedRows<QString>(QSqlDatabase::database(connection_),
                              QStringLiteral("SELECT subject, value FROM events WHERE id IN "
                                             "(SELECT MAX(id) FROM events WHERE value <> '' GROUP BY subject)"),
                              [](const QVariant& value) { return value.toString(); });
}

void IncidentStore::prune(qint64 now)
{
    if (!writing())
        return;
    const qint64 oldest = now - qint64(limits_.retentionDays) * kMsPerDay;
    for (const QString& table : {QStringLiteral("events"), QStringLiteral("samples")}) {
        const qint64 cap = table == QLatin1String("events") ? limits_.maxEvents : limits_.maxSamples;
        exec(QStringLiteral("DELETE FROM %1 WHERE at_ms < %2").arg(table).arg(oldest));
        exec(QStringLiteral("DELETE FROM %1 WHERE rowid <= "
                            "(SELECT rowid FROM %1 ORDER BY rowid DESC LIMIT 1 OFFSET %2)")
                 .arg(table)
                 .arg(cap));
    }
}
