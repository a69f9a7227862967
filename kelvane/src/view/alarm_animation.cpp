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

    graphic_ = g;
    origin_effect_ = g->graphicsEffect();
    // Moving the effect to the keeper detaches it from the item without deleting it.
    if (origin_effect_)
        effect_keeper_.setGraphicsEffect(origin_effect_);

    if (animation_ && own_effect_) {
        g->setGraphicsEffect(own_effect_);
        animation_->setDirection(QAbstractAnimation::Forward);
    } else {
        animation_ = createAnimation(g);
        own_effect_ = reusable_ ? g->graphicsEffect() : nullptr;
    }
    animation_->setParent(this);

    QObject* itemLife = g->graphicsEffect();
    if (!itemLife)
        itemLife = g->toGraphicsObject();
    KELVANE_ASSERT(itemLife);
    item_watch_ = connect(itemLife, &QObject::destroyed, this, &AlarmAnimation::forgetItem);

    running_ = true;
    animation_->start(QAbstractAnimation::KeepWhenStopped);
}

void AlarmAnimation::stop()
{
    if (!running_)
        return;
    running_ = false;
    disconnect(item_watch_);
    if (own_effect_) {
        animation_->stop();
        animation_->setParent(own_effect_);
        // Detaches the effect from the item without deleting it.
        parking_.setGraphicsEffect(own_effect_);
    } else {
        delete animation_;
        animation_ = nullptr;
    }
    // Replaces (and deletes) an animation's effect still on the item; with no
    // former effect the item is left without one.
    graphic_->setGraphicsEffect(origin_effect_);
}

void AlarmAnimation::setReusable(bool reusable)
{
    reusable_ = reusable;
}

void AlarmAnimation::forgetItem()
{
    delete animation_;
    animation_ = nullptr;
    running_ = false;
    graphic_ = nullptr;
    // The former effect has nowhere to go back to.
    effect_keeper_.setGraphicsEffect(nullptr);
}
