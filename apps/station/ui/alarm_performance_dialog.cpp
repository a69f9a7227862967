#include "alarm_performance_dialog.h"

#include "alarm_performance.h"

#include <QDateTime>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QMenu>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

constexpr int kDefaultHours = 24;
constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsPerMinute = 60;
constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 560;
const char kEditFormat[] = "yyyy-MM-dd hh:mm";

} // namespace

AlarmPerformanceDialog::AlarmPerformanceDialog(IncidentStore& store, QWidget* parent)
    : QDialog(parent)
    , store_(store)
    , from_(new QDateTimeEdit(QDateTime::currentDateTime().addSecs(-kDefaultHours * kSecondsPerHour), this))
    , to_(new QDateTimeEdit(QDateTime::currentDateTime(), this))
    , report_(new QTextBrowser(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("报警系统性能"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    auto* range = new QFormLayout;
    for (QDateTimeEdit* edit : {from_, to_}) {
        edit->setDisplayFormat(QLatin1String(kEditFormat));
        edit->setCalendarPopup(true);
    }
    range->addRow(tr("开始"), from_);
    range->addRow(tr("结束"), to_);
    auto* update = new QPushButton(tr("计算"), this);
    connect(update, &QPushButton::clicked, this, &AlarmPerformanceDialog::refresh);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(update);
    layout->addWidget(report_, 1);
    refresh();
}

void AlarmPerformanceDialog::addTo(QMenu& reports, QWidget& window, IncidentStore& store)
{
    reports.addAction(tr("报警系统性能..."), &window, [&window, &store] {
        auto* dialog = new AlarmPerformanceDialog(store, &window);
        dialog->show();
    });
}

void AlarmPerformanceDialog::refresh()
{
    // The end minute is taken whole: a range up to 12:00 includes 12:00:59.
    const qint64 from = from_->dateTime().toMSecsSinceEpoch();
    const qint64 to = to_->dateTime().addSecs(kSecondsPerMinute).toMSecsSinceEpoch() - 1;
    if (to < from) {
        report_->setPlainText(tr("结束时间早于开始时间。"));
        return;
    }
    report_->setHtml(AlarmPerformance(store_, from, to).toHtml());
}
