#include "view/blink_clock.h"

#include <QGraphicsOpacityEffect>

namespace {

constexpr qint64 kFadeMs = 2000;

} // namespace

BlinkClock& BlinkClock::instance()
{
    static BlinkClock clock;
    return clock;
}

BlinkClock::BlinkClock()
{
    timer_.setInterval(kStepMs);
    connect(&timer_, &QTimer::timeout, this, &BlinkClock::step);
    since_.start();
}

qreal BlinkClock::level() const
{
    const qint64 phase = since_.elapsed() % (2 * kFadeMs);
    return qreal(phase < kFadeMs ? phase : 2 * kFadeMs - phase) / kFadeMs;
}

void BlinkClock::add(QGraphicsOpacityEffect* effect)
{
    effects_.insert(effect);
    if (!timer_.isActive())
        timer_.start();
}

void BlinkClock::remove(QGraphicsOpacityEffect* effect)
{
    effects_.remove(effect);
    if (effects_.isEmpty())
        timer_.stop();
}

void BlinkClock::step()
{
    const qreal now = level();
    for (QGraphicsOpacityEffect* effect : qAsConst(effects_))
        effect->setOpacity(now);
}
