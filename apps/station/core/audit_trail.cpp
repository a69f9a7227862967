#include "audit_trail.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sodium.h>

#include <iterator>

namespace {

constexpr int kHashBytes = crypto_generichash_BYTES;
constexpr int kBusyMs = 250;
const char kHeadKey[] = "audit_head";

const char* const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS audit (id INTEGER PRIMARY KEY, at_ms INTEGER NOT NULL, kind TEXT NOT NULL, "
    "operator TEXT NOT NULL, console TEXT NOT NULL, details TEXT NOT NULL, hash TEXT NOT NULL)",
};

const char* const kKindNames[] = {"log_in",   "log_out",       "log_in_failed",         "action_refused",
                                  "user_changed", "configuration_changed", "link_lost", "value_refused"};

// BLAKE2b-256 of the previous row's hash and every field of \a row, each
// field length-prefixed so no two rows hash alike by moving text between fields.
QByteArray chainHash(const QByteArray& previous, const AuditTrail::Row& row)
{
    crypto_generichash_state state;
    crypto_generichash_init(&state, nullptr, 0, kHashBytes);
    const auto feed = [&state](const QByteArray& bytes) {
        const quint64 size = quint64(bytes.size());
        unsigned char length[8];
        for (int i = 0; i < 8; ++i)
            length[i] = static_cast<unsigned char>(size >> (56 - 8 * i));
        crypto_generichash_update(&state, length, sizeof length);
        crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(bytes.constData()),
                                  quint64(bytes.size()));
    };
    feed(previous);
    for (const QString& field : {QString::number(row.id), QString::number(row.msecs), AuditTrail::kindName(row.kind),
                                 row.operatorName, row.console, row.details})
        feed(field.toUtf8());
    QByteArray hash(kHashBytes, Qt::Uninitialized);
    crypto_generichash_final(&state, reinterpret_cast<unsigned char*>(hash.data()), kHashBytes);
    return hash.toHex();
}

bool kindFromName(const QString& name, AuditTrail::Kind* kind)
{
    for (int i = 0; i < int(std::size(kKindNames)); ++i) {
        if (name == QLatin1String(kKindNames[i])) {
            *kind = AuditTrail::Kind(i);
            return true;
        }
    }
    return false;
}

// The newest row's id and hash as `meta` keeps them; 0 and empty for an empty trail.
void readHead(const QSqlDatabase& db, qint64* id, QByteArray* hash)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT value FROM meta WHERE key = ?"));
    query.addBindValue(QLatin1String(kHeadKey));
    const QStringList head = query.exec() && query.next() ? query.value(0).toString().split(QLatin1Char(' '))
                                                          : QStringList();
    *id = head.size() == 2 ? head.at(0).toLongLong() : 0;
    *hash = head.size() == 2 ? head.at(1).toLatin1() : QByteArray();
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    crypto_generichash_state state;
    crypto_generichash_init(&state, nullptr, 0, kHashBytes);
    while (!file.atEnd()) {
        const QByteArray block = file.read(1 << 16);
        crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(block.constData()),
                                  quint64(block.size()));
    }
    QByteArray hash(kHashBytes, Qt::Uninitialized);
    crypto_generichash_final(&state, reinterpret_cast<unsigned char*>(hash.data()), kHashBytes);
    return hash.toHex();
}

} // namespace

AuditTrail::AuditTrail(const ConsoleClock& clock, QObject* parent)
    : QObject(parent)
    , clock_(clock)
{
    if (sodium_init() < 0)
        qFatal("libsodium cannot be initialised");
}

AuditTrail::~AuditTrail()
{
    if (connection_.isEmpty())
        return;
    QString error;
    if (!writeUnwritten(&error) && !unwritten_.isEmpty())
        qWarning("audit trail: %d rows lost: %s", int(unwritten_.size()), qPrintable(error));
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

QString AuditTrail::kindName(Kind kind)
{
    return QLatin1String(kKindNames[int(kind)]);
}

bool AuditTrail::open(const QString& path, QString* error)
{
    const QString name = QStringLiteral("audit-trail-%1").arg(quintptr(this));
    QDir().mkpath(QFileInfo(path).absolutePath());
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyMs));
        ok = db.open();
        for (const char* statement : kSchema)
            ok = ok && QSqlQuery(db).exec(QLatin1String(statement));
    }
    if (!ok) {
        *error = tr("无法打开审计记录 %1").arg(path);
        QSqlDatabase::removeDatabase(name);
        setFailing(true, *error);
        return false;
    }
    connection_ = name;
    return true;
}

void AuditTrail::setFailing(bool failing, const QString& problem)
{
    if (failing == failing_)
        return;
    failing_ = failing;
    emit failingChanged(failing, problem);
}

bool AuditTrail::append(Kind kind, const QString& operatorName, const QString& console, const QString& details)
{
    if (unwritten_.size() >= kMaxUnwritten) {
        // Said once, when the backlog first overflows, not for every row dropped.
        if (unwritten_.size() == kMaxUnwritten)
            qWarning("audit trail: %d rows could not be written; the oldest are dropped", int(unwritten_.size()));
        unwritten_.removeFirst();
    }
    unwritten_.append({0, clock_.nowMs(), kind, operatorName, console, details});
    QString error;
    const bool written = writeUnwritten(&error);
    // A trail never opened is its opener's to report: it was told why.
    if (!connection_.isEmpty())
        setFailing(!written, written ? QString()
                                     : tr("审计记录无法写入，%1 条记录暂存在内存中: %2").arg(unwritten_.size()).arg(error));
    return written;
}

bool AuditTrail::writeUnwritten(QString* error)
{
    if (connection_.isEmpty()) {
        *error = tr("审计记录未打开");
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(connection_);
    QSqlQuery query(db);
    // IMMEDIATE: the head read below must still be the head when the row goes in.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        *error = query.lastError().text();
        return false;
    }
    qint64 id = 0;
    QByteArray hash;
    readHead(db, &id, &hash);
    bool ok = query.prepare(QStringLiteral("INSERT INTO audit VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (Row& row : unwritten_) {
        row.id = ++id;
        hash = chainHash(hash, row);
        for (const QVariant& value : {QVariant(row.id), QVariant(row.msecs), QVariant(kindName(row.kind)),
                                      QVariant(row.operatorName), QVariant(row.console), QVariant(row.details),
                                      QVariant(QString::fromLatin1(hash))})
            query.addBindValue(value.toString().isNull() ? QVariant(QString(QLatin1String(""))) : value);
        ok = ok && query.exec();
    }
    QSqlQuery head(db);
    ok = ok && head.prepare(QStringLiteral("INSERT OR REPLACE INTO meta VALUES (?, ?)"));
    head.addBindValue(QLatin1String(kHeadKey));
    head.addBindValue(QString::number(id) + QLatin1Char(' ') + QString::fromLatin1(hash));
    ok = ok && head.exec() && db.commit();
    if (!ok) {
        const QSqlError failure = query.lastError().isValid() ? query.lastError()
            : head.lastError().isValid()                      ? head.lastError()
                                                              : db.lastError();
        *error = failure.text();
        db.rollback();
        return false;
    }
    unwritten_.clear();
    return true;
}

QString AuditTrail::note(const QString& key) const
{
    if (connection_.isEmpty())
        return QString();
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("SELECT value FROM meta WHERE key = ?"));
    query.addBindValue(key);
    return query.exec() && query.next() ? query.value(0).toString() : QString();
}

bool AuditTrail::keepNote(const QString& key, const QString& value)
{
    if (connection_.isEmpty())
        return false;
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO meta VALUES (?, ?)"));
    query.addBindValue(key);
    query.addBindValue(value);
    return query.exec();
}

bool AuditTrail::recordFile(const QString& label, const QString& path, const QString& console)
{
    const QByteArray hash = fileHash(path);
    const QString prefix = label + QStringLiteral(": ");
    QString last;
    for (const Row& row : rows()) {
        if (row.kind == Kind::ConfigurationChanged && row.details.startsWith(prefix))
            last = row.details;
    }
    const QString details = prefix + QFileInfo(path).absoluteFilePath() + QStringLiteral(" blake2b ")
        + (hash.isEmpty() ? QStringLiteral("unreadable") : QString::fromLatin1(hash));
    return details == last || append(Kind::ConfigurationChanged, QString(), console, details);
}

QVector<AuditTrail::Row> AuditTrail::rows() const
{
    QVector<Row> rows;
    if (connection_.isEmpty())
        return rows;
    QSqlQuery query(QSqlDatabase::database(connection_));
    if (!query.exec(QStringLiteral("SELECT id, at_ms, kind, operator, console, details FROM audit ORDER BY id")))
        return rows;
    while (query.next()) {
        Row row{query.value(0).toLongLong(), query.value(1).toLongLong(), Kind::LogIn, query.value(3).toString(),
                query.value(4).toString(), query.value(5).toString()};
        if (kindFromName(query.value(2).toString(), &row.kind))
            rows.append(row);
    }
    return rows;
}

AuditTrail::Verdict AuditTrail::check(const QString& path)
{
    Verdict verdict;
    const QString name = QStringLiteral("audit-check-%1").arg(quintptr(&verdict));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyMs));
        QSqlQuery query(db);
        if (!QFileInfo::exists(path) || !db.open()
            || !query.exec(QStringLiteral("SELECT id, at_ms, kind, operator, console, details, hash FROM audit "
                                          "ORDER BY id"))) {
            verdict.problem = tr("无法读取 %1 的审计记录").arg(path);
        } else {
            QByteArray hash;
            qint64 id = 0;
            while (verdict.problem.isEmpty() && query.next()) {
                Row row{query.value(0).toLongLong(), query.value(1).toLongLong(), Kind::LogIn,
                        query.value(3).toString(), query.value(4).toString(), query.value(5).toString()};
                const bool known = kindFromName(query.value(2).toString(), &row.kind);
                if (row.id != id + 1)
                    verdict.problem = tr("第 %1 条之前的审计记录被删除").arg(row.id);
                else if (!known || (hash = chainHash(hash, row)) != query.value(6).toString().toLatin1())
                    verdict.problem = tr("第 %1 条审计记录被改动").arg(row.id);
                verdict.brokenAt = verdict.problem.isEmpty() ? 0 : id + 1;
                id = row.id;
                verdict.rows += verdict.problem.isEmpty() ? 1 : 0;
            }
            qint64 headId = 0;
            QByteArray headHash;
            readHead(db, &headId, &headHash);
            if (verdict.problem.isEmpty() && (headId != id || headHash != hash)) {
                verdict.problem = tr("第 %1 条之后的审计记录缺失或被改动").arg(id);
                verdict.brokenAt = id + 1;
            }
            verdict.intact = verdict.problem.isEmpty();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return verdict;
}
