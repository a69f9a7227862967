#pragma once

#include <QDialog>

class AlarmFeed;
class QPlainTextEdit;
class QTableWidget;

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
namespace QtCharts {
class QChart;
class QChartView;
}
// Qt 6 took the chart classes out of their namespace: their plain names serve both.
using namespace QtCharts;
#else
class QChart;
class QChartView;
#endif

namespace harq {
class Sensor;
}

/// A sensor's detail, opened by clicking it on the plan or from the alarm list:
/// where it is, each item's value, limits, tags and alarm state, the history of
/// its alarm states and a trend of its measured values with the alarm limits
/// drawn as dashed lines. Everything follows the live values while open.
class SensorDetail : public QDialog
{
    Q_OBJECT

public:
    SensorDetail(harq::Sensor* sensor, const AlarmFeed& feed, QWidget* parent = nullptr);

    /// The trend's chart; it has a series per value item and one per drawn limit.
    QChart* chart() const;
    QString historyText() const;

private:
    void refresh();
    void refreshTrend();

    harq::Sensor* sensor_;
    const AlarmFeed& feed_;
    QTableWidget* items_;
    QPlainTextEdit* history_;
    QChartView* trend_;
};
