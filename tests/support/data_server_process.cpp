#include "data_server_process.h"

#include <QFile>
#include <QString>
#include <QStringList>

namespace {

constexpr int kWaitMs = 10000;

} // namespace

DataServerProcess::DataServerProcess(const QByteArray& scenarioJson)
    : scenario_(scenarioJson)
{
}

DataServerProcess::~DataServerProcess()
{
    stop();
}

::testing::AssertionResult DataServerProcess::start(quint16 port)
{
    stop();
    if (!dir_.isValid())
        return ::testing::AssertionFailure() << "no temporary folder for the scenario";
    QFile scenario(dir_.filePath(QStringLiteral("scenario.json")));
    if (!scenario.open(QIODevice::WriteOnly) || scenario.write(scenario_) != scenario_.size())
        return ::testing::AssertionFailure() << "cannot write " << scenario.fileName().toStdString();
    scenario.close();

    QStringList command = QString::fromUtf8(TAVIMOR_DATASERVER_EMULATOR).split(';', Qt::SkipEmptyParts);
    command << QStringLiteral(TAVIMOR_DATASERVER_PATH) << QStringLiteral("--port") << QString::number(port)
            << QStringLiteral("--scenario") << scenario.fileName();
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start(command.takeFirst(), command);
    if (!process_->waitForStarted(kWaitMs))
        return ::testing::AssertionFailure() << "data server did not start: " << process_->errorString().toStdString();
    QByteArray line;
    while (!line.contains('\n') && process_->waitForReadyRead(kWaitMs))
        line += process_->readAllStandardOutput();
    if (!line.startsWith("listening on 127.0.0.1:"))
        return ::testing::AssertionFailure() << "data server said: " << line.constData();
    port_ = quint16(line.mid(line.lastIndexOf(':') + 1).trimmed().toUInt());
    return ::testing::AssertionSuccess();
}

void DataServerProcess::stop()
{
    if (!process_)
        return;
    process_->kill();
    process_->waitForFinished(kWaitMs);
    process_.reset();
}
