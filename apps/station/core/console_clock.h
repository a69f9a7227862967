#pragma once

#include <QtGlobal>

/// Where the console reads the time. Its alarm states follow this clock only,
/// so a host (or a test) can hand in its own and move time as it pleases: a
/// shelving that ends in ten minutes is seen to end without waiting for it.
class ConsoleClock
{
public:
    virtual ~ConsoleClock() = default;

    /// Milliseconds since the epoch.
    virtual qint64 nowMs() const = 0;

    /// The machine's clock.
    static const ConsoleClock& system();
};
