#include "event_log.h"

#include <QDateTime>

namespace {

constexpr int kKeptLines = 5000;
const char kStampFormat[] = "yyyy-MM-dd hh:mm:ss";

} // namespace

EventLog::EventLog(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setMaximumBlockCount(kKeptLines);
}

void EventLog::log(const QString& text)
{
    appendPlainText(QStringLiteral("%1  %2").arg(QDateTime::currentDateTime().toString(QLatin1String(kStampFormat)), text));
}
