#include "view/blink_animation.h"

#include <QAbstractAnimation>
#include <QGraphicsItem>
#include <QGraphicsObject>
#include <QGraphicsOpacityEffect>

namespace {

/// Keeps an effect on the shared clock for as long as it exists. The clock,
/// not the animation timer, moves the effect, so a start pauses at once: a
/// running animation would have the timer tick it 60 times a second for nothing.
class ClockedFade : public QAbstractAnimation, private BlinkClock::Blinker
{
public:
    explicit ClockedFade(QGraphicsOpacityEffect* effect)
        : effect_(effect)
    {
        BlinkClock::instance().add(this);
    }
    ~ClockedFade() override { BlinkClock::instance().remove(this); }

    int duration() const override { return -1; }

protected:
    void updateCurrentTime(int) override {}
    void updateState(State newState, State) override
    {
        if (newState == Running)
            pause();
    }

private:
    void showLevel(qreal level) override { effect_->setOpacity(level); }

    QGraphicsOpacityEffect* effect_;
};

/// The item itself if it is a QGraphicsObject, else its nearest ancestor that
/// is one; null when there is none.
QGraphicsObject* objectEndingWith(QGraphicsItem* item)
{
    for (; item; item = item->parentItem()) {
        if (QGraphicsObject* object = item->toGraphicsObject())
            return object;
    }
    return nullptr;
}

} // namespace

BlinkAnimation::BlinkAnimation(QObject* parent)
    : AlarmAnimation(parent)
{
}

// The base's destructor can no longer reach stopOwnBlink().
BlinkAnimation::~BlinkAnimation()
{
    stopOwnBlink();
}

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

bool BlinkAnimation::startOwnBlink(QGraphicsItem* g)
{
    QGraphicsObject* life = objectEndingWith(g);
    if (!life)
        return false;
    watchLife(life);
    item_ = g;
    own_opacity_ = g->opacity();
    // The clock's next step, at most one step away, brings the item to its
    // level: an alarm changes the item's look anyway, and one that ends before
    // the step costs no change of opacity at all.
    BlinkClock::instance().add(this);
    return true;
}

void BlinkAnimation::stopOwnBlink()
{
    if (!item_)
        return;
    BlinkClock::instance().remove(this);
    if (item_->opacity() != own_opacity_)
        item_->setOpacity(own_opacity_);
    item_ = nullptr;
}

void BlinkAnimation::showLevel(qreal level)
{
    item_->setOpacity(own_opacity_ * level);
}

void BlinkAnimation::watchLife(QObject* life)
{
    if (life == life_)
        return;
    disconnect(life_watch_);
    life_ = life;
    life_watch_ = connect(life, &QObject::destroyed, this, &BlinkAnimation::forgetItem);
}

void BlinkAnimation::forgetItem()
{
    // The item went with the object, before it if it was a descendant.
    BlinkClock::instance().remove(this);
    item_ = nullptr;
    life_ = nullptr;
}
