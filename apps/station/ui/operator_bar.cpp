#include "operator_bar.h"

#include "login_dialog.h"
#include "operator_session.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

// Often enough that the lock shows soon after it falls.
constexpr int kRefreshMs = 5000;

} // namespace

OperatorBar::OperatorBar(OperatorSession* session, QWidget* parent)
    : QWidget(parent)
    , session_(session)
    , label_(new QLabel(this))
    , button_(new QPushButton(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(label_);
    layout->addWidget(button_);
    if (!session_) {
        button_->hide();
        label_->setStyleSheet(QStringLiteral("color: #8A5A00; font-weight: bold;"));
        refresh();
        return;
    }
    connect(button_, &QPushButton::clicked, this, &OperatorBar::logInOrOut);
    connect(session_, &OperatorSession::changed, this, &OperatorBar::refresh);
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &OperatorBar::refresh);
    timer->start(kRefreshMs);
    refresh();
}

void OperatorBar::refresh()
{
    if (!session_) {
        label_->setText(tr("未认证运行: 无船舶密钥, 共享数值未签名, 操作无需登录"));
        return;
    }
    const QString name = session_->operatorName();
    button_->setText(name.isEmpty() ? tr("登录...") : tr("注销"));
    label_->setText(name.isEmpty()        ? tr("未登录 (可查看报警和消音)")
                        : session_->isLocked() ? tr("操作员 %1 (长时间未操作, 已锁定)").arg(name)
                                               : tr("操作员 %1").arg(name));
}

void OperatorBar::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        refresh();
    QWidget::changeEvent(event);
}

void OperatorBar::logInOrOut()
{
    if (!session_->operatorName().isEmpty() && !session_->isLocked()) {
        session_->logOut();
        return;
    }
    auto* dialog = new LoginDialog(*session_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}
