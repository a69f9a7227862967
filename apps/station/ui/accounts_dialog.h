#pragma once

#include "operator_accounts.h"

#include <QDialog>

#include <functional>

class OperatorSession;
class QComboBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QTreeWidget;

/// An officer's management of the operators' accounts at the console: the
/// accounts with their roles and lock-outs, and adding one with a role and an
/// initial password, changing a role, setting a new password, ending a
/// lock-out and removing one.
///
/// The dialog only asks: OperatorSession decides (an officer logged in and not
/// idle-locked, never the last officer removed or demoted) and audits each
/// change; a refusal shows in the dialog with its reason. Not modal, so the
/// alarms stay within reach.
class AccountsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AccountsDialog(OperatorSession& session, QWidget* parent = nullptr);

    /// Adds the menu entry that opens the dialog to \a window, enabled while
    /// an officer may manage the accounts.
    static void addTo(QMainWindow& window, OperatorSession& session);

    static QString roleText(OperatorAccounts::Role role);

private:
    /// What a button asks of the session for the account named in the form.
    using Change = std::function<bool(const QString& name, QString* error)>;

    QWidget* button(const QString& text, bool needsAccount, Change change);
    /// The password typed, never null: a null one would keep the present password.
    QString password() const;
    void refresh();
    void pick();

    OperatorSession& session_;
    QTreeWidget* list_;
    QLineEdit* name_;
    QComboBox* role_;
    QLineEdit* password_;
    QLabel* message_;
};
