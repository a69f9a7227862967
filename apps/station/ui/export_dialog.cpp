#include "export_dialog.h"

#include "incident_export.h"
#include "kept_translated.h"

#include <QDateTime>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr qint64 kDefaultRangeMs = 60 * 60 * 1000;
const char kEditFormat[] = "yyyy-MM-dd hh:mm:ss";

} // namespace

ExportDialog::ExportDialog(IncidentStore& store, QWidget* parent)
    : QDialog(parent)
    , store_(store)
    , from_(new QDateTimeEdit(this))
    , to_(new QDateTimeEdit(this))
    , outcome_(new QLabel(this))
{
    for (QDateTimeEdit* edit : {from_, to_}) {
        edit->setDisplayFormat(QLatin1String(kEditFormat));
        edit->setCalendarPopup(true);
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    setRange(now - kDefaultRangeMs, now);
    outcome_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* save = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    connect(save, &QPushButton::clicked, this, &ExportDialog::chooseFile);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    auto* fromLabel = new QLabel(this);
    auto* toLabel = new QLabel(this);
    layout->addRow(fromLabel, from_);
    layout->addRow(toLabel, to_);
    layout->addRow(outcome_);
    layout->addRow(buttons);
    keepTranslated(this, [this, save, fromLabel, toLabel] {
        setWindowTitle(tr("导出事件报告"));
        save->setText(tr("导出到文件..."));
        fromLabel->setText(tr("开始"));
        toLabel->setText(tr("结束"));
    });
}

void ExportDialog::setRange(qint64 from, qint64 to)
{
    from_->setDateTime(QDateTime::fromMSecsSinceEpoch(from));
    to_->setDateTime(QDateTime::fromMSecsSinceEpoch(to));
}

bool ExportDialog::exportTo(const QString& path, QString* error) const
{
    const qint64 from = from_->dateTime().toMSecsSinceEpoch();
    // The editor shows whole seconds: the range ends at the end of its last one.
    const qint64 to = to_->dateTime().toMSecsSinceEpoch() + 999;
    if (from > to) {
        *error = tr("开始晚于结束");
        return false;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    const IncidentExport incident(store_, from, to);
    if (suffix == QLatin1String("csv"))
        return incident.writeCsv(path, error);
    if (suffix == QLatin1String("pdf"))
        return incident.writePdf(path, error);
    if (suffix == QLatin1String("json"))
        return incident.writeScenario(path, error);
    *error = tr("未知的文件类型: %1 (应为 .csv, .pdf 或 .json)").arg(path);
    return false;
}

void ExportDialog::chooseFile()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("导出事件报告"), QString(),
                                                      tr("CSV 报告 (*.csv);;PDF 报告 (*.pdf);;训练场景 (*.json)"));
    if (path.isEmpty())
        return;
    QString error;
    outcome_->setText(exportTo(path, &error) ? tr("已导出 %1").arg(path) : error);
}
