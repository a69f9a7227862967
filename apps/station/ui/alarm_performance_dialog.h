#pragma once

#include <QDialog>

class IncidentStore;
class QDateTimeEdit;
class QLabel;
class QMenu;
class QPushButton;
class QTextBrowser;

/// The alarm-system performance of a time range of the station's history
/// (AlarmPerformance): the operator picks the range, the figures follow. Opened
/// from the window's 报告 menu; non-modal, so the alarms stay in sight.
class AlarmPerformanceDialog : public QDialog
{
    Q_OBJECT

public:
    /// Shows the last kDefaultHours of \a store.
    explicit AlarmPerformanceDialog(IncidentStore& store, QWidget* parent = nullptr);

    /// Adds the entry that opens the dialog, over \a window, to the menu \a reports.
    static void addTo(QMenu& reports, QWidget& window, IncidentStore& store);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void refresh();

    IncidentStore& store_;
    QDateTimeEdit* from_;
    QDateTimeEdit* to_;
    QTextBrowser* report_;
    QLabel* from_label_;
    QLabel* to_label_;
    QPushButton* update_;
};
