#pragma once

#include <QDialog>
#include <QStringList>

class QDialogButtonBox;
class QLineEdit;
class QSpinBox;

/// Asks for the reason and the time limit of a shelving; accepted only with a reason.
class ShelveDialog : public QDialog
{
    Q_OBJECT

public:
    /// Shelves the alarms of \a tags; the time is 1 to \a limitMinutes minutes.
    ShelveDialog(const QStringList& tags, int limitMinutes, QWidget* parent = nullptr);

    QString reason() const;
    int minutes() const;
    void setReason(const QString& reason);
    void setMinutes(int minutes);

private:
    QLineEdit* reason_;
    QSpinBox* minutes_;
    QDialogButtonBox* buttons_;
};
