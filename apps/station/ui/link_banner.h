#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QTimer;

/// The strip above the deck plan that tells the operator what the plan cannot:
/// while the data link is down, that the values shown are those of the moment
/// it dropped, with a countdown to the next connection attempt (blue-grey, not
/// red: it is the station's state, not an alarm); and short notices about the
/// operator's own actions on the plan, such as an acknowledgement that could
/// not be written.
class LinkBanner : public QWidget
{
    Q_OBJECT

public:
    explicit LinkBanner(const QString& server, QWidget* parent = nullptr);

    /// The link dropped (false) or is back (true).
    void setConnected(bool connected);
    /// The next connection attempt is due in \a delayMs.
    void setNextAttempt(int delayMs);
    /// Shows \a text for a while below the link state.
    void showNotice(const QString& text);

    /// The link line as shown, empty while connected.
    QString linkText() const;
    QString notice() const;

signals:
    /// The link line changed (every second while counting down).
    void linkTextChanged(const QString& text);

private:
    void tick();

    QString server_;
    QLabel* link_;
    QLabel* notice_;
    QTimer* countdown_;
    QTimer* notice_timeout_;
    QDateTime since_;
    QElapsedTimer until_started_;
    int until_ms_ = -1;
    bool stale_ = false;
};
