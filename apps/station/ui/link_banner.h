#pragma once

#include "link_supervisor.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QTimer;

/// The strip above the deck plan that tells the operator what the plan cannot:
/// while the data link is not live, that the values shown are those of the
/// moment it stopped, and whether the station is waiting for the server's answer
/// or counting down to the next connection attempt (blue-grey, not red: it is the
/// station's state, not an alarm); the operator's actions the shared incident
/// state has not taken yet (refused by the server, or waiting for the link); and
/// short notices about the operator's own actions on the plan, such as an
/// acknowledgement that could not be written.
class LinkBanner : public QWidget
{
    Q_OBJECT

public:
    explicit LinkBanner(const QString& server, QWidget* parent = nullptr);

    /// The link dropped (false) or is back (true).
    void setConnected(bool connected);
    /// What the link does; the countdown to an attempt runs from this call.
    void setLinkState(LinkSupervisor::State state, int msToNextAttempt);
    /// Actions of this console the server has not taken: \a refused of them
    /// it did not take and are sent again in \a msToRetry.
    void setPublication(int unpublished, int refused, int msToRetry);
    /// Shows \a text for a while below the link state; empty hides it at once.
    void showNotice(const QString& text);

    /// The link line as shown, empty while connected.
    QString linkText() const;
    QString notice() const;
    /// The shared state's line as shown, empty when everything is published.
    QString sharingText() const;

signals:
    /// The link line changed (every second while counting down).
    void linkTextChanged(const QString& text);

protected:
    void changeEvent(QEvent* event) override;

private:
    void tick();

    QString server_;
    QLabel* link_;
    QLabel* sharing_;
    QLabel* notice_;
    QTimer* countdown_;
    QTimer* notice_timeout_;
    QDateTime since_;
    QElapsedTimer until_started_;
    int until_ms_ = -1;
    LinkSupervisor::State state_ = LinkSupervisor::State::Idle;
    bool stale_ = false;
    int unpublished_ = 0;
    int refused_ = 0;
    QElapsedTimer retry_started_;
    int retry_ms_ = -1;
};
