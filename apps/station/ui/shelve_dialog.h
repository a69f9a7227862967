#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLineEdit;
class QSpinBox;

/// Asks for the reason and the time limit of a shelving; accepted only with a reason.
class ShelveDialog : public QDialog
{
    Q_OBJECT

public:
    /// \a what names the alarms shelved; the time is 1 to \a limitMinutes minutes.
    ShelveDialog(const QString& what, int limitMinutes, QWidget* parent = nullptr);

    QString reason() const;
    int minutes() const;
    void setReason(const QString& reason);
    void setMinutes(int minutes);

private:
    QLineEdit* reason_;
    QSpinBox* minutes_;
    QDialogButtonBox* buttons_;
};
