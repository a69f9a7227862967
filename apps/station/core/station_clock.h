#pragma once

#include <QDateTime>

#include <functional>

/// The time the station's security units go by, in ms since the epoch: the
/// system clock in the station, a hand-set one in tests (lock-out expiry,
/// session lock, the accepted window of shared values).
using StationClock = std::function<qint64()>;

inline qint64 systemMsecs()
{
    return QDateTime::currentMSecsSinceEpoch();
}
