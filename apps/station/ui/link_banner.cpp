#include "link_banner.h"

#include <QEvent>
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

int secondsOf(qint64 ms)
{
    return int(std::ceil(double(ms) / kMsPerSecond));
}

} // namespace

LinkBanner::LinkBanner(const QString& server, QWidget* parent)
    : QWidget(parent)
    , server_(server)
    , link_(new QLabel(this))
    , sharing_(new QLabel(this))
    , notice_(new QLabel(this))
    , countdown_(new QTimer(this))
    , notice_timeout_(new QTimer(this))
{
    link_->setStyleSheet(QLatin1String(kStaleStyle));
    sharing_->setStyleSheet(QLatin1String(kStaleStyle));
    notice_->setStyleSheet(QLatin1String(kNoticeStyle));
    link_->hide();
    sharing_->hide();
    notice_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(link_);
    layout->addWidget(sharing_);
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
    since_ = QDateTime::currentDateTime();
    link_->setVisible(stale_);
    tick();
}

void LinkBanner::setLinkState(LinkSupervisor::State state, int msToNextAttempt)
{
    state_ = state;
    until_ms_ = msToNextAttempt;
    until_started_.start();
    tick();
}

void LinkBanner::setPublication(int unpublished, int refused, int msToRetry)
{
    unpublished_ = unpublished;
    refused_ = refused;
    retry_ms_ = msToRetry;
    retry_started_.start();
    tick();
}

void LinkBanner::showNotice(const QString& text)
{
    notice_->setText(text);
    notice_->setVisible(!text.isEmpty());
    if (text.isEmpty())
        notice_timeout_->stop();
    else
        notice_timeout_->start();
}

QString LinkBanner::linkText() const
{
    return stale_ ? link_->text() : QString();
}

QString LinkBanner::sharingText() const
{
    return sharing_->isHidden() ? QString() : sharing_->text();
}

QString LinkBanner::notice() const
{
    return notice_->isHidden() ? QString() : notice_->text();
}

void LinkBanner::changeEvent(QEvent* event)
{
    // The notice is a message already given; the standing lines are composed anew.
    if (event->type() == QEvent::LanguageChange)
        tick();
    QWidget::changeEvent(event);
}

void LinkBanner::tick()
{
    QString text;
    if (stale_) {
        const QString frozen = tr("数据中断: 画面为 %1 时的数值, 不再实时更新").arg(since_.toString(QLatin1String(kTimeFormat)));
        const qint64 left = until_ms_ < 0 ? -1 : until_ms_ - until_started_.elapsed();
        if (state_ == LinkSupervisor::State::AwaitingAnswer)
            text = tr("%1 — 已连接 %2, 服务器未应答").arg(frozen, server_);
        else if (left > 0)
            text = tr("%1 — %2 秒后重连 %3").arg(frozen).arg(secondsOf(left)).arg(server_);
        else
            text = tr("%1 — 正在重连 %2").arg(frozen, server_);
    }
    if (text != link_->text()) {
        link_->setText(text);
        emit linkTextChanged(text);
    }

    QString sharing;
    if (refused_ > 0) {
        const qint64 left = retry_ms_ < 0 ? -1 : retry_ms_ - retry_started_.elapsed();
        sharing = left > 0 ? tr("共享状态: %1 项操作未被服务器接受, %2 秒后重发").arg(refused_).arg(secondsOf(left))
                           : tr("共享状态: %1 项操作未被服务器接受, 正在重发").arg(refused_);
    } else if (stale_ && unpublished_ > 0) {
        sharing = tr("共享状态: %1 项操作尚未发布, 连接恢复后发送").arg(unpublished_);
    }
    sharing_->setText(sharing);
    sharing_->setVisible(!sharing.isEmpty());
    const bool counting = stale_ || refused_ > 0;
    if (!counting)
        countdown_->stop();
    else if (!countdown_->isActive())
        countdown_->start();
}
