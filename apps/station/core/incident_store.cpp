#include "incident_store.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QVariant>

#include <algorithm>

namespace {

constexpr qint64 kMsPerDay = 24LL * 60 * 60 * 1000;
// Pruning runs at opening and then about every ten minutes of flushes.
constexpr int kFlushesPerPrune = 2400;
constexpr int kBusyMs = 50;
// What may wait in memory while the file cannot be written: about a minute of a busy incident.
constexpr int kMaxQueued = 20000;

const char* const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS events (id INTEGER PRIMARY KEY, at_ms INTEGER NOT NULL, kind TEXT NOT NULL, "
    "subject TEXT NOT NULL, place TEXT NOT NULL, console TEXT NOT NULL, value TEXT NOT NULL)",
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

const char kEventColumns[] = "SELECT at_ms, kind, subject, place, console, value FROM events ";

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
    flush_timer_->setInterval(kFlushMs);
    connect(flush_timer_, &QTimer::timeout, this, &IncidentStore::flush);
}

IncidentStore::~IncidentStore()
{
    if (!isOpen())
        return;
    flush();
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

bool IncidentStore::open(const QString& path, QString* error)
{
    const QString name = QStringLiteral("incident-store-%1").arg(quintptr(this));
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        // Qt waits 5 s for a locked file by default; the window must not.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyMs));
        if (!db.open()) {
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
    QSqlQuery version(QSqlDatabase::database(connection_));
    ok = ok && version.exec(QStringLiteral("SELECT value FROM meta WHERE key = 'schema_version'"));
    const int found = ok && version.next() ? version.value(0).toInt() : 0;
    version.finish();
    if (ok && found == 0)
        ok = exec(QStringLiteral("INSERT INTO meta VALUES ('schema_version', '%1')").arg(kSchemaVersion));
    if (!ok || found > kSchemaVersion) {
        *error = ok ? tr("历史数据库 %1 的格式 %2 比本程序新").arg(path).arg(found)
                    : tr("历史数据库 %1 无法使用").arg(QFileInfo(path).absoluteFilePath());
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
        connection_.clear();
        return false;
    }
    prune(QDateTime::currentMSecsSinceEpoch());
    flush_timer_->start();
    return true;
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
    qWarning("incident store: %s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
    return false;
}

void IncidentStore::record(const IncidentEvent& event)
{
    events_.append(event);
}

void IncidentStore::recordSample(const QString& tag, qint64 msecs, double value, double shown, bool abnormal)
{
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
    if (!isOpen() || (events_.isEmpty() && samples_.isEmpty()))
        return true;

    QSqlDatabase db = QSqlDatabase::database(connection_);
    bool ok = db.transaction();
    QSqlQuery insertEvent(db);
    ok = ok && insertEvent.prepare(QStringLiteral("INSERT INTO events (at_ms, kind, subject, place, console, value) "
                                                  "VALUES (?, ?, ?, ?, ?, ?)"));
    for (const IncidentEvent& event : qAsConst(events_)) {
        if (!ok)
            break;
        for (const QVariant& v : {QVariant(event.msecs), text(IncidentEvent::kindName(event.kind)),
                                  text(event.subject), text(event.place), text(event.console), text(event.value)})
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
    if (!ok) {
        db.rollback();
        // Another process holding the file (a second station given the same
        // history) is worth waiting for; a queue that keeps growing is not.
        if (events_.size() + samples_.size() <= kMaxQueued)
            return false;
        const QSqlError failure = insertSample.lastError().isValid() ? insertSample.lastError()
            : insertEvent.lastError().isValid()                      ? insertEvent.lastError()
                                                                     : db.lastError();
        qWarning("incident store: %d events and %d samples lost: %s", events_.size(), samples_.size(),
                 qPrintable(failure.text()));
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

QHash<QString, qint64> IncidentStore::openAlarms()
{
    flush();
    if (!isOpen())
        return {};
    return keyedRows<qint64>(
        QSqlDatabase::database(connection_),
        QStringLiteral(
            "SELECT e.subject, e.at_ms FROM events e WHERE e.kind = 'alarm_raised' AND e.id = "
            "(SELECT MAX(id) FROM events WHERE subject = e.subject AND kind IN ('alarm_raised', 'alarm_cleared'))"),
        [](const QVariant& at) { return at.toLongLong(); });
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
    if (!isOpen())
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
