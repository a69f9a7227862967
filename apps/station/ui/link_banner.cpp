#include "link_banner.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kTickMs = 250;
constexpr int kNoticeMs = 15000;
constexpr double kMsPerSecond = 1000.0;
const char kTimeFormat[] = "hh:mm:ss";
const char kStaleStyle[] = "background: #5A6E8C; color: white; font-weight: bold; padding: 4px;";
const char kNoticeStyle[] = "background: #FFE8B0; color: #402000; padding: 3px; border: 1px solid #C08000;";

} // namespace

LinkBanner::LinkBanner(const QString& server, QWidget* parent)
    : QWidget(parent)
    , server_(server)
    , link_(new QLabel(this))
    , notice_(new QLabel(this))
    , countdown_(new QTimer(this))
    , notice_timeout_(new QTimer(this))
{
    link_->setStyleSheet(QLatin1String(kStaleStyle));
    notice_->setStyleSheet(QLatin1String(kNoticeStyle));
    link_->hide();
    notice_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(link_);
    layout->addWidget(notice_);
    countdown_->setInterval(kTickMs);
    connect(countdown_, &QTimer::timeout, this, &LinkBanner::tick);
    notice_timeout_->setSingleShot(true);
    notice_timeout_->setInterval(kNoticeMs);
    connect(notice_timeout_, &QTimer::timeout, notice_, &QLabel::hide);
}

void LinkBanner::setConnected(bool connected)
{
    if (connected == !stale_)
        return;
    stale_ = !connected;
    until_ms_ = -1;
    since_ = QDateTime::currentDateTime();
    link_->setVisible(stale_);
    if (stale_)
        countdown_->start();
    else
        countdown_->stop();
    tick();
}

void LinkBanner::setNextAttempt(int delayMs)
{
    until_ms_ = delayMs;
    until_started_.start();
    tick();
}

void LinkBanner::showNotice(const QString& text)
{
    notice_->setText(text);
    notice_->show();
    notice_timeout_->start();
}

QString LinkBanner::linkText() const
{
    return stale_ ? link_->text() : QString();
}

QString LinkBanner::notice() const
{
    return notice_->isHidden() ? QString() : notice_->text();
}

void LinkBanner::tick()
{
    QString text;
    if (stale_) {
        const QString frozen = tr("数据中断: 画面为 %1 时的数值, 不再实时更新").arg(since_.toString(QLatin1String(kTimeFormat)));
        const qint64 left = until_ms_ < 0 ? -1 : until_ms_ - until_started_.elapsed();
        if (left > 0)
            text = tr("%1 — %2 秒后重连 %3").arg(frozen).arg(std::ceil(double(left) / kMsPerSecond)).arg(server_);
        else
            text = tr("%1 — 正在重连 %2").arg(frozen, server_);
    }
    if (text != link_->text()) {
        link_->setText(text);
        emit linkTextChanged(text);
    }
}
