#include "shelve_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

constexpr int kDefaultMinutes = 30;

} // namespace

ShelveDialog::ShelveDialog(const QString& what, int limitMinutes, QWidget* parent)
    : QDialog(parent)
    , reason_(new QLineEdit(this))
    , minutes_(new QSpinBox(this))
    , buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("搁置报警"));
    minutes_->setRange(1, limitMinutes);
    minutes_->setValue(qMin(kDefaultMinutes, limitMinutes));
    minutes_->setSuffix(tr(" 分钟"));
    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(what, this));
    form->addRow(tr("原因:"), reason_);
    form->addRow(tr("时限:"), minutes_);
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
