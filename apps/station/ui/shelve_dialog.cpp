#include "shelve_dialog.h"

#include "kept_translated.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

constexpr int kDefaultMinutes = 30;

} // namespace

ShelveDialog::ShelveDialog(const QStringList& tags, int limitMinutes, QWidget* parent)
    : QDialog(parent)
    , reason_(new QLineEdit(this))
    , minutes_(new QSpinBox(this))
    , buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    minutes_->setRange(1, limitMinutes);
    minutes_->setValue(qMin(kDefaultMinutes, limitMinutes));
    auto* form = new QFormLayout(this);
    auto* what = new QLabel(this);
    form->addRow(what);
    auto* reasonLabel = new QLabel(this);
    auto* minutesLabel = new QLabel(this);
    form->addRow(reasonLabel, reason_);
    form->addRow(minutesLabel, minutes_);
    keepTranslated(this, [this, what, tags, reasonLabel, minutesLabel] {
        setWindowTitle(tr("搁置报警"));
        what->setText(tr("搁置: %1").arg(tags.join(QStringLiteral(", "))));
        minutes_->setSuffix(tr(" 分钟"));
        reasonLabel->setText(tr("原因:"));
        minutesLabel->setText(tr("时限:"));
    });
    form->addRow(buttons_);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
    connect(reason_, &QLineEdit::textChanged, this, [this](const QString& text) {
        buttons_->button(QDialogButtonBox::Ok)->setEnabled(!text.trimmed().isEmpty());
    });
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString ShelveDialog::reason() const
{
    return reason_->text().trimmed();
}

int ShelveDialog::minutes() const
{
    return minutes_->value();
}

void ShelveDialog::setReason(const QString& reason)
{
    reason_->setText(reason);
}

void ShelveDialog::setMinutes(int minutes)
{
    minutes_->setValue(minutes);
}
