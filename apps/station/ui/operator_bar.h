#pragma once

#include <QWidget>

class OperatorSession;
class QLabel;
class QPushButton;

/// Who acts at this console, in the window's tool bar: the operator logged
/// in (or none, or locked after inactivity) and the button to log in or out.
/// Without a session the console runs unauthenticated and says so.
class OperatorBar : public QWidget
{
    Q_OBJECT

public:
    /// \a session may be null: an unauthenticated console.
    explicit OperatorBar(OperatorSession* session, QWidget* parent = nullptr);

    /// Shows who is logged in now; the idle lock is not signalled, so this is also polled.
    void refresh();

protected:
    void changeEvent(QEvent* event) override;

private:
    void logInOrOut();

    OperatorSession* session_;
    QLabel* label_;
    QPushButton* button_;
};
