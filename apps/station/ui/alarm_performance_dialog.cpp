#include "alarm_performance_dialog.h"

#include "alarm_performance.h"
#include "kept_translated.h"

#include <QDateTime>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
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
    , from_label_(new QLabel(this))
    , to_label_(new QLabel(this))
    , update_(new QPushButton(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    auto* range = new QFormLayout;
    for (QDateTimeEdit* edit : {from_, to_}) {
        edit->setDisplayFormat(QLatin1String(kEditFormat));
        edit->setCalendarPopup(true);
    }
    range->addRow(from_label_, from_);
    range->addRow(to_label_, to_);
    connect(update_, &QPushButton::clicked, this, &AlarmPerformanceDialog::refresh);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(update_);
    layout->addWidget(report_, 1);
    retranslate();
}

void AlarmPerformanceDialog::addTo(QMenu& reports, QWidget& window, IncidentStore& store)
{
    QAction* open = reports.addAction(QString(), &window, [&window, &store] {
        auto* dialog = new AlarmPerformanceDialog(store, &window);
        dialog->show();
    });
    keepTranslated(&reports, [open] { open->setText(tr("报警系统性能...")); });
}

void AlarmPerformanceDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void AlarmPerformanceDialog::retranslate()
{
    setWindowTitle(tr("报警系统性能"));
    from_label_->setText(tr("开始"));
    to_label_->setText(tr("结束"));
    update_->setText(tr("计算"));
    refresh();
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
