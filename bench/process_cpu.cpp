#include "process_cpu.h"

#include <QFile>
#include <QList>

#include <sys/resource.h>
#include <unistd.h>

namespace benchcpu {

namespace {

// Fields 14 and 15 of /proc/<pid>/stat are user and system time in clock ticks;
// counted after the command name, which may hold spaces, they are 12 and 13.
constexpr int kUserTimeField = 11;
constexpr int kSystemTimeField = 12;

double ownCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& tv) { return double(tv.tv_sec) + double(tv.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

double cpuSeconds(qint64 pid)
{
    if (pid == 0)
        return ownCpuSeconds();
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() <= kSystemTimeField)
        return -1;
    const double ticks = fields.at(kUserTimeField).toDouble() + fields.at(kSystemTimeField).toDouble();
    return ticks / double(sysconf(_SC_CLK_TCK));
}

} // namespace benchcpu
