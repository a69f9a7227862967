#pragma once

#include <QElapsedTimer>
#include <QString>

/**
 * Writes log lines on standard error, at most `linesPerSecond` of them in any
 * one-second window; the lines beyond are counted, and the count is written
 * before the next line that passes and by flush(). A hostile peer thus costs a
 * few lines a second, whatever it sends.
 */
class LogLimiter
{
public:
    /// `subject` opens the line that reports suppressed lines.
    LogLimiter(const QString& subject, int linesPerSecond);
    ~LogLimiter();

    LogLimiter(const LogLimiter&) = delete;
    LogLimiter& operator=(const LogLimiter&) = delete;

    /// Writes `line` unless this window's lines are used up.
    void log(const QString& line);
    /// Reports the lines suppressed since the last line written, if any.
    void flush();

private:
    QString subject_;
    int linesPerSecond_;
    QElapsedTimer window_;
    int written_ = 0;
    qint64 suppressed_ = 0;
};
