#pragma once

#include <QDialog>

class OperatorSession;
class QLabel;
class QLineEdit;

/// Logs an operator in at this console: name, masked password and the notice
/// of what the system is for. It stays open with the reason until a log-in
/// succeeds or the operator closes it; it is not modal, so the alarm list,
/// the plan and silencing stay within reach meanwhile.
class LoginDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LoginDialog(OperatorSession& session, QWidget* parent = nullptr);

    void accept() override;

private:
    OperatorSession& session_;
    QLineEdit* name_;
    QLineEdit* password_;
    QLabel* message_;
};
