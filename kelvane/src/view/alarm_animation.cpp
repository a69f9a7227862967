#include "view/alarm_animation.h"

#include "kelvane_assert.h"

#include <QAbstractAnimation>
#include <QGraphicsEffect>
#include <QGraphicsObject>

AlarmAnimation::AlarmAnimation(QObject* parent)
    : QObject(parent)
{
}

AlarmAnimation::~AlarmAnimation()
{
    stop();
}

void AlarmAnimation::start(QGraphicsItem* g)
{
    KELVANE_ASSERT(g);
    stop();
    if (startOwnBlink(g))
        return;

    graphic_ = g;
    origin_effect_ = g->graphicsEffect();
    // Moving the effect to the keeper detaches it from the item without deleting it.
    if (origin_effect_)
        effect_keeper_.setGraphicsEffect(origin_effect_);

    animation_ = createAnimation(g);
    animation_->setParent(this);

    QObject* itemLife = g->graphicsEffect();
    if (!itemLife)
        itemLife = g->toGraphicsObject();
    KELVANE_ASSERT(itemLife);
    item_watch_ = connect(itemLife, &QObject::destroyed, this, &AlarmAnimation::forgetItem);

    animation_->start(QAbstractAnimation::KeepWhenStopped);
}

void AlarmAnimation::stop()
{
    stopOwnBlink();
    if (!animation_)
        return;
    disconnect(item_watch_);
    delete animation_;
    animation_ = nullptr;
    // Replaces (and deletes) the animation's effect; with no former effect the
    // item is left without one.
    graphic_->setGraphicsEffect(origin_effect_);
}

bool AlarmAnimation::startOwnBlink(QGraphicsItem*)
{
    return false;
}

void AlarmAnimation::stopOwnBlink()
{
}

void AlarmAnimation::forgetItem()
{
    delete animation_;
    animation_ = nullptr;
    graphic_ = nullptr;
    // The former effect has nowhere to go back to.
    effect_keeper_.setGraphicsEffect(nullptr);
}
