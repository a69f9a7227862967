#include "view/blink_clock.h"

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

void BlinkClock::add(Blinker* blinker)
{
    if (blinker->place_ >= 0)
        return;
    blinker->place_ = int(blinkers_.size());
    blinkers_.push_back(blinker);
    if (!timer_.isActive())
        timer_.start();
}

void BlinkClock::remove(Blinker* blinker)
{
    // The timer stops at its next step: a sensor flickering in and out of
    // alarm would otherwise register and unregister it at every flip.
    const int place = blinker->place_;
    if (place < 0)
        return;
    Blinker* last = blinkers_.back();
    blinkers_[std::size_t(place)] = last;
    last->place_ = place;
    blinkers_.pop_back();
    blinker->place_ = -1;
}

void BlinkClock::step()
{
    if (blinkers_.empty()) {
        timer_.stop();
        return;
    }
    const qreal now = level();
    for (Blinker* blinker : blinkers_)
        blinker->showLevel(now);
}
