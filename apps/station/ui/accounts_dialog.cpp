#include "accounts_dialog.h"

#include "kept_translated.h"
#include "operator_session.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>

namespace {

using Role = OperatorAccounts::Role;

const Role kRoles[] = {Role::Viewer, Role::Watchkeeper, Role::Officer};

} // namespace

QString AccountsDialog::roleText(Role role)
{
    switch (role) {
    case Role::Viewer:
        return tr("查看员");
    case Role::Watchkeeper:
        return tr("值班员");
    case Role::Officer:
        break;
    }
    return tr("高级船员");
}

void AccountsDialog::addTo(QMainWindow& window, OperatorSession& session)
{
    QMenu* menu = window.menuBar()->addMenu(QString());
    QAction* manage = menu->addAction(QString(), &window, [&window, &session] {
        auto* dialog = new AccountsDialog(session, &window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
    });
    // The idle lock is not signalled: asked again whenever the menu opens.
    const auto enable = [manage, &session] { manage->setEnabled(session.may(OperatorSession::Action::Users)); };
    connect(&session, &OperatorSession::changed, manage, enable);
    connect(menu, &QMenu::aboutToShow, manage, enable);
    enable();
    keepTranslated(menu, [menu, manage] {
        menu->setTitle(tr("操作员"));
        manage->setText(tr("管理操作员账户..."));
    });
}

AccountsDialog::AccountsDialog(OperatorSession& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , list_(new QTreeWidget(this))
    , name_(new QLineEdit(this))
    , role_(new QComboBox(this))
    , password_(new QLineEdit(this))
    , message_(new QLabel(this))
{
    setWindowTitle(tr("操作员账户"));
    list_->setHeaderLabels({tr("名称"), tr("角色"), tr("状态")});
    list_->setRootIsDecorated(false);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &AccountsDialog::pick);
    for (Role role : kRoles)
        role_->addItem(roleText(role), int(role));
    password_->setEchoMode(QLineEdit::Password);
    password_->setPlaceholderText(tr("至少 %1 个字符").arg(OperatorAccounts::kMinPasswordLength));
    message_->setWordWrap(true);

    const auto role = [this] { return Role(role_->currentData().toInt()); };
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(tr("添加"), false, [this, role](const QString& name, QString* error) {
        if (session_.accounts().contains(name)) {
            *error = tr("操作员 %1 已存在").arg(name);
            return false;
        }
        return session_.setAccount(name, role(), password(), error);
    }));
    buttons->addWidget(button(tr("更改角色"), true, [this, role](const QString& name, QString* error) {
        return session_.setAccount(name, role(), QString(), error);
    }));
    buttons->addWidget(button(tr("设置新密码"), true, [this](const QString& name, QString* error) {
        return session_.setAccount(name, session_.accounts().role(name), password(), error);
    }));
    buttons->addWidget(button(tr("解除锁定"), true, [this](const QString& name, QString* error) {
        return session_.unlockAccount(name, error);
    }));
    buttons->addWidget(button(tr("删除"), true, [this](const QString& name, QString* error) {
        return session_.removeAccount(name, error);
    }));
    auto* close = new QPushButton(tr("关闭"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);

    auto* form = new QFormLayout(this);
    form->addRow(list_);
    form->addRow(tr("操作员:"), name_);
    form->addRow(tr("角色:"), role_);
    form->addRow(tr("密码:"), password_);
    form->addRow(message_);
    form->addRow(buttons);
    session_.recordOutsideChanges();
    refresh();
}

QWidget* AccountsDialog::button(const QString& text, bool needsAccount, Change change)
{
    auto* button = new QPushButton(text, this);
    // Enter in the form must not remove or change whichever account was last touched.
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, needsAccount, change = std::move(change)] {
        const QString name = name_->text().trimmed();
        QString error;
        if (name.isEmpty() || (needsAccount && !session_.accounts().contains(name)))
            error = name.isEmpty() ? tr("请输入操作员名称") : tr("没有操作员 %1").arg(name);
        const bool done = error.isEmpty() && change(name, &error);
        password_->clear();
        message_->setStyleSheet(done ? QString() : QStringLiteral("color: #B00020;"));
        message_->setText(done ? tr("已完成, 已记入审计记录") : error);
        refresh();
    });
    return button;
}

QString AccountsDialog::password() const
{
    const QString typed = password_->text();
    return typed.isNull() ? QString(QLatin1String("")) : typed;
}

void AccountsDialog::refresh()
{
    const QString current = name_->text().trimmed();
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const QString& name : session_.accounts().names()) {
        auto* item = new QTreeWidgetItem(
            list_, {name, roleText(session_.accounts().role(name)),
                    session_.isLockedOut(name) ? tr("多次密码错误, 已锁定") : QString()});
        item->setSelected(name == current);
    }
}

void AccountsDialog::pick()
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty())
        return;
    const QString name = selected.first()->text(0);
    name_->setText(name);
    role_->setCurrentIndex(role_->findData(int(session_.accounts().role(name))));
}
