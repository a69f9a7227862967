#pragma once

// CPU time of a process, to put a cost per unit beside a rate.

#include <QtGlobal>

namespace benchcpu {

/// User plus system CPU seconds used so far by process `pid` (0: this process); -1 when unknown.
double cpuSeconds(qint64 pid = 0);

} // namespace benchcpu
