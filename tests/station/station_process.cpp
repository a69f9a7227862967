#include "station_process.h"

#include "incident_sharing.h"

#include <QRegularExpression>

namespace {

constexpr int kStartMs = 10000;
constexpr int kStopMs = 5000;

} // namespace

DataServerProcess::~DataServerProcess()
{
    stop();
}

bool DataServerProcess::start(const QString& scenario, quint16 port, const QStringList& options)
{
    // As a ship's server for consoles runs: their shared incident state is never pushed out of its pool.
    process_.start(QStringLiteral(TAVIMOR_DATASERVER_PATH),
                   QStringList{QStringLiteral("--port"), QString::number(port), QStringLiteral("--scenario"), scenario,
                               QStringLiteral("--keep"), IncidentSharing::kPrefix}
                       + options);
    if (!process_.waitForStarted(kStartMs))
        return false;
    // The server announces "listening on <address>:<port>" once it listens.
    QByteArray out;
    static const QRegularExpression listening(QStringLiteral("listening on .*:(\\d+)"));
    while (process_.waitForReadyRead(kStartMs)) {
        out += process_.readAllStandardOutput();
        const QRegularExpressionMatch match = listening.match(QString::fromUtf8(out));
        if (match.hasMatch()) {
            port_ = quint16(match.captured(1).toUInt());
            return true;
        }
    }
    return false;
}

void DataServerProcess::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished(kStopMs);
}

StationProcess::~StationProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(kStopMs);
    }
}

void StationProcess::start(const QStringList& arguments, const QString& program)
{
    process_.start(program, arguments);
    process_.waitForStarted(kStartMs);
}

void StationProcess::send(const QByteArray& line)
{
    process_.write(line + '\n');
    process_.waitForBytesWritten(kStopMs);
}

bool StationProcess::waitForExit(int timeoutMs)
{
    const bool exited = process_.waitForFinished(timeoutMs);
    collect();
    return exited;
}

int StationProcess::routedUpdates() const
{
    static const QRegularExpression received(QStringLiteral("received \\d+ updates \\((\\d+) routed\\)"));
    int routed = 0;
    auto it = received.globalMatch(out_);
    while (it.hasNext())
        routed += it.next().captured(1).toInt();
    return routed;
}

void StationProcess::collect()
{
    out_ += QString::fromUtf8(process_.readAllStandardOutput());
    err_ += QString::fromUtf8(process_.readAllStandardError());
}
