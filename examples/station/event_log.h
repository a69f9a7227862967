#pragma once

#include <QPlainTextEdit>

/// A time-stamped, read-only log of what happened at the station.
class EventLog : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit EventLog(QWidget* parent = nullptr);

    /// Appends \a text with the current date and time in front.
    void log(const QString& text);
};
