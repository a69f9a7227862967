#include "login_dialog.h"

#include "kept_translated.h"
#include "operator_session.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

LoginDialog::LoginDialog(OperatorSession& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , name_(new QLineEdit(this))
    , password_(new QLineEdit(this))
    , message_(new QLabel(this))
{
    password_->setEchoMode(QLineEdit::Password);
    auto* notice = new QLabel(this);
    notice->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #B00020;"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LoginDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(notice);
    auto* nameLabel = new QLabel(this);
    auto* passwordLabel = new QLabel(this);
    form->addRow(nameLabel, name_);
    form->addRow(passwordLabel, password_);
    form->addRow(message_);
    form->addRow(buttons);
    keepTranslated(this, [this, notice, nameLabel, passwordLabel] {
        setWindowTitle(tr("操作员登录"));
        notice->setText(tr("本系统仅供授权船员进行损管监控。登录后的操作均以您的名义记录并审计。"));
        nameLabel->setText(tr("操作员:"));
        passwordLabel->setText(tr("密码:"));
    });
}

void LoginDialog::accept()
{
    const OperatorAccounts::Result result = session_.logIn(name_->text().trimmed(), password_->text());
    password_->clear();
    if (result == OperatorAccounts::Result::Accepted) {
        QDialog::accept();
        return;
    }
    // The same words for an unknown name and a wrong password: names cannot be probed.
    message_->setText(result == OperatorAccounts::Result::LockedOut
                          ? tr("该账户因多次密码错误已被暂时锁定, 请 %1 分钟后再试")
                                .arg(OperatorAccounts::kLockOutMs / 60000)
                          : tr("操作员名称或密码错误"));
}
