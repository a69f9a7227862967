// The sensor graphic's alarm animation, which only the edition with tags has.
#include "graphics/sensor_graphic.h"

#include "entity/sensor.h"
#include "graphics/sensor_graphic_edition.h"
#include "kelvane_assert.h"
#include "view/alarm_animation.h"

void SensorGraphic::acceptAnimotion(AlarmAnimation* animation)
{
    KELVANE_ASSERT(sensor_);
    if (animation == animation_)
        return;
    delete animation_;
    animation_ = animation;
    if (animation)
        animation->setParent(this);
}

void SensorGraphic::setAcknowledged(bool acknowledged)
{
    if (acknowledged == acknowledged_)
        return;
    acknowledged_ = acknowledged;
    // Nothing to show before a sensor is bound; its first state change decides.
    if (sensor_)
        updateAnimation();
}

bool SensorGraphic::isAcknowledged() const
{
    return acknowledged_;
}

void SensorGraphic::updateAnimation()
{
    if (!animation_)
        return;
    if (sensor_->isNormal() || acknowledged_)
        animation_->stop();
    else
        animation_->start(animationItem());
}

QGraphicsItem* SensorGraphic::animationItem()
{
    return this;
}

void SensorGraphicEdition::stopBlink(SensorGraphic& graphic)
{
    if (graphic.animation_)
        graphic.animation_->stop();
}

void SensorGraphicEdition::followState(SensorGraphic& graphic)
{
    graphic.updateAnimation();
}
