#include "server_limits.h"

#include "gbk_text.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kMaxClients = QStringLiteral("max-clients");
const QString kMaxBookings = QStringLiteral("max-bookings");
const QString kMaxWrittenPoints = QStringLiteral("max-written-points");
const QString kMaxCreatedPoints = QStringLiteral("max-created-points");
const QString kMaxUnsentBytes = QStringLiteral("max-unsent-bytes");
const QString kIdleTimeout = QStringLiteral("idle-timeout");
const QString kWriters = QStringLiteral("writers");
const QString kKeep = QStringLiteral("keep");

// A descriptor limit this high is as good as none; it keeps the arithmetic in int.
constexpr rlim_t kNoDescriptorLimit = 1 << 20;
// The longest idle time a timer can hold, in whole seconds.
constexpr double kMaxIdleSeconds = std::numeric_limits<int>::max() / 1000;

/// Reads a whole number from `min` to `max`; false with the reason in `error`.
template <typename T>
bool readCount(const QCommandLineParser& parser, const QString& name, T min, T max, T* out, QString* error)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const qlonglong value = parser.value(name).toLongLong(&ok);
    if (!ok || value < min || value > max) {
        *error = QStringLiteral("--%1 %2: must be a whole number from %3 to %4")
                     .arg(name, parser.value(name))
                     .arg(min)
                     .arg(max);
        return false;
    }
    *out = T(value);
    return true;
}

} // namespace

int ServerLimits::descriptorRoom()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > kNoDescriptorLimit)
        return int(kNoDescriptorLimit);
    return std::max(int(limit.rlim_cur) - kReservedDescriptors, 0);
}

QList<QCommandLineOption> ServerLimits::options()
{
    const ServerLimits defaults;
    return {
        {kMaxClients,
         QStringLiteral("Clients served at once (default %1, or the descriptor limit minus %2 if lower); "
                        "more are closed at once.")
             .arg(defaults.maxClients)
             .arg(kReservedDescriptors),
         QStringLiteral("count")},
        {kMaxBookings, QStringLiteral("Names one client may book at once (default %1).").arg(defaults.maxBookings),
         QStringLiteral("count")},
        {kMaxWrittenPoints,
         QStringLiteral("New points one client may create by writing (default %1).").arg(defaults.maxWrittenPoints),
         QStringLiteral("count")},
        {kMaxCreatedPoints,
         QStringLiteral("Points created by writing kept in all (default %1); beyond it the oldest that no client "
                        "books is forgotten.")
             .arg(defaults.maxCreatedPoints),
         QStringLiteral("count")},
        {kMaxUnsentBytes,
         QStringLiteral("Unsent bytes after which a client that does not read is closed (default %1).")
             .arg(defaults.maxUnsentBytes),
         QStringLiteral("bytes")},
        {kIdleTimeout,
         QStringLiteral("Seconds a client may send nothing before it is closed (default 0: never)."),
         QStringLiteral("seconds")},
        {kKeep,
         QStringLiteral("Never forget points created by writing whose name starts with this prefix (repeatable; "
                        "e.g. KLV.INC. for the stations' shared incident state)."),
         QStringLiteral("prefix")},
        {kWriters,
         QStringLiteral("File of client addresses and the name prefixes each may write (default: anyone writes "
                        "anything); reading stays open to all."),
         QStringLiteral("file")},
    };
}

bool ServerLimits::read(const QCommandLineParser& parser, QString* error)
{
    const int room = descriptorRoom();
    maxClients = std::min(maxClients, room);
    if (room < 1) {
        *error = QStringLiteral("the descriptor limit leaves no room for a client (the server keeps %1)")
                     .arg(kReservedDescriptors);
        return false;
    }
    if (!readCount(parser, kMaxClients, 1, room, &maxClients, error)) {
        error->append(QStringLiteral(" (the descriptor limit allows %1)").arg(room));
        return false;
    }
    if (!readCount(parser, kMaxBookings, 0, std::numeric_limits<int>::max(), &maxBookings, error)
        || !readCount(parser, kMaxWrittenPoints, 0, std::numeric_limits<int>::max(), &maxWrittenPoints, error)
        || !readCount(parser, kMaxCreatedPoints, 0, std::numeric_limits<int>::max(), &maxCreatedPoints, error)
        || !readCount(parser, kMaxUnsentBytes, qint64(1), std::numeric_limits<qint64>::max() / 2, &maxUnsentBytes,
                      error))
        return false;
    if (parser.isSet(kIdleTimeout)) {
        bool ok = false;
        const double seconds = parser.value(kIdleTimeout).toDouble(&ok);
        if (!ok || !(seconds >= 0 && seconds <= kMaxIdleSeconds)) {
            *error = QStringLiteral("--%1 %2: must be a number of seconds from 0 to %3")
                         .arg(kIdleTimeout, parser.value(kIdleTimeout))
                         .arg(kMaxIdleSeconds, 0, 'f', 0);
            return false;
        }
        // A fraction of a millisecond still turns the timeout on.
        idleTimeoutMs = seconds > 0 ? std::max(1, int(std::lround(seconds * 1000))) : 0;
    }
    for (const QString& prefix : parser.values(kKeep)) {
        bool exact = false;
        const QByteArray bytes = tavimorio::toGbk(prefix, &exact);
        // An empty prefix would keep every point and leave the pool to fill for good.
        if (bytes.isEmpty() || !exact) {
            *error = QStringLiteral("--%1 %2: must be a name prefix GBK can carry, not empty").arg(kKeep, prefix);
            return false;
        }
        keptPrefixes.append(bytes);
    }
    if (parser.isSet(kWriters) && !writers.load(parser.value(kWriters), error)) {
        error->prepend(QStringLiteral("--%1 ").arg(kWriters));
        return false;
    }
    return true;
}
