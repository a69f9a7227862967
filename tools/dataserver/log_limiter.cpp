#include "log_limiter.h"

#include <QDebug>

namespace {

constexpr qint64 kWindowMs = 1000;

} // namespace

LogLimiter::LogLimiter(const QString& subject, int linesPerSecond)
    : subject_(subject)
    , linesPerSecond_(linesPerSecond)
{
    window_.start();
}

LogLimiter::~LogLimiter()
{
    flush();
}

void LogLimiter::log(const QString& line)
{
    if (window_.elapsed() >= kWindowMs) {
        window_.restart();
        written_ = 0;
    }
    if (written_ >= linesPerSecond_) {
        ++suppressed_;
        return;
    }
    flush();
    ++written_;
    qInfo().noquote() << line;
}

void LogLimiter::flush()
{
    if (suppressed_ == 0)
        return;
    qInfo().noquote() << QStringLiteral("%1: %2 more lines suppressed").arg(subject_).arg(suppressed_);
    suppressed_ = 0;
}
