#include "view/blink_animation.h"

#include "view/blink_clock.h"

#include <QAbstractAnimation>
#include <QGraphicsItem>
#include <QGraphicsOpacityEffect>

namespace {

/// Keeps an effect on the shared clock for as long as it exists. The clock,
/// not the animation timer, moves the effect, so a start pauses at once: a
/// running animation would have the timer tick it 60 times a second for nothing.
class ClockedFade : public QAbstractAnimation
{
public:
    explicit ClockedFade(QGraphicsOpacityEffect* effect)
        : effect_(effect)
    {
        BlinkClock::instance().add(effect_);
    }
    ~ClockedFade() override { BlinkClock::instance().remove(effect_); }

    int duration() const override { return -1; }

protected:
    void updateCurrentTime(int) override {}
    void updateState(State newState, State) override
    {
        if (newState == Running)
            pause();
    }

private:
    QGraphicsOpacityEffect* effect_;
};

} // namespace

BlinkAnimation::BlinkAnimation(QObject* parent)
    : AlarmAnimation(parent)
{
}

BlinkAnimation::~BlinkAnimation() = default;

int BlinkAnimation::stepMilliseconds()
{
    return BlinkClock::kStepMs;
}

QAbstractAnimation* BlinkAnimation::createAnimation(QGraphicsItem* g)
{
    auto* effect = new QGraphicsOpacityEffect;
    effect->setOpacity(BlinkClock::instance().level());
    g->setGraphicsEffect(effect);
    return new ClockedFade(effect);
}
