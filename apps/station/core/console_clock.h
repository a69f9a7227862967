#pragma once

#include <QtGlobal>

/// Where the console reads the time. Its alarm states and its security units
/// (lock-outs, the idle lock, the accepted age of shared values, the audit
/// rows' times) follow this clock only, so a host (or a test) can hand in its
/// own and move time as it pleases: a shelving that ends in ten minutes is seen
/// to end without waiting for it. Whoever is given a clock keeps a reference to
/// it, so it must outlive them.
class ConsoleClock
{
public:
    virtual ~ConsoleClock() = default;

    /// Milliseconds since the epoch.
    virtual qint64 nowMs() const = 0;

    /// The machine's clock.
    static const ConsoleClock& system();
};
