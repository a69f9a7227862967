#include "data_server_process.h"

#include <QRegularExpression>

namespace benchserver {

namespace {

constexpr int kStartTimeoutMs = 10000;

} // namespace

DataServer::DataServer(quint16 port)
{
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(QStringLiteral(TAVIMOR_DATASERVER_PATH), {QStringLiteral("--port"), QString::number(port)});
    if (!process_.waitForReadyRead(kStartTimeoutMs))
        return;
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral(":(\\d+)")).match(QString::fromLatin1(process_.readLine()));
    port_ = m.hasMatch() ? quint16(m.captured(1).toUInt()) : 0;
}

DataServer::~DataServer()
{
    process_.terminate();
    process_.waitForFinished();
}

} // namespace benchserver
