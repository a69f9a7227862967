#include "graphics/sensor_graphic.h"

#include "config/sensor_config.h"
#include "entity/sensor.h"
#include "graphics/sensor_label.h"
#include "kelvane_assert.h"
#ifndef KELVANE_MAINTENANCE
#include "view/alarm_animation.h"
#endif

#include <QGraphicsPixmapItem>

#include <algorithm>

namespace {

/// Icons narrower than this are scaled as if they were this wide, so an empty
/// pixmap does not divide by zero.
constexpr qreal kMinIconWidth = 1.0;

QRectF rectInParent(const QGraphicsItem* child)
{
    return child ? child->mapRectToParent(child->boundingRect()) : QRectF();
}

} // namespace

SensorGraphic::SensorGraphic(QGraphicsItem* parent)
    : QGraphicsObject(parent)
{
    // The child items draw inside boundingRect(), so a view skips them
    // together with a graphic outside the area it repaints.
    setFlag(ItemContainsChildrenInShape);
}

// A running animation outlives the animated item (it is a Qt child); it notices
// the item's end through the effect it installed on it and lets go.
SensorGraphic::~SensorGraphic()
{
    setParentItem(nullptr);
}

void SensorGraphic::setSensor(harq::Sensor* sensor)
{
    KELVANE_ASSERT(sensor);
    if (sensor_)
        disconnect(sensor_, nullptr, this, nullptr);
#ifndef KELVANE_MAINTENANCE
    // A blink left over from the previous sensor's alarm would mislead about this one.
    if (animation_)
        animation_->stop();
#endif
    sensor_ = sensor;
    connect(sensor, &harq::Sensor::sensorStateChanged, this, &SensorGraphic::updateSensor);
    initSensor();
    setPos(sensor->position().x(), sensor->position().y());
    updateToolTip();
}

harq::Sensor* SensorGraphic::sensor() const
{
    return sensor_;
}

#ifndef KELVANE_MAINTENANCE
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
#endif

QRectF SensorGraphic::boundingRect() const
{
    return bounds_;
}

void SensorGraphic::paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*)
{
}

void SensorGraphic::initSensor()
{
    prepareGeometryChange();
    if (!icon_)
        icon_ = new QGraphicsPixmapItem(this);
    if (!name_)
        name_ = new SensorLabel(this);

    const SensorConfig& style = SensorConfig::instance();

    icon_->setPixmap(style.icon(sensor_->defaultIconName()));
    icon_->setOpacity(style.opacity());
    const qreal iconScale = style.width() / std::max(icon_->boundingRect().width(), kMinIconWidth);
    icon_->setScale(iconScale);
    const QSizeF iconSize = icon_->boundingRect().size() * iconScale;
    icon_->setPos(-iconSize.width() / 2, -iconSize.height() / 2);
    const QRectF icon = iconRect();

    name_->setDefaultTextColor(QColor(style.textColor()));
    name_->setOpacity(style.opacity());
#ifdef KELVANE_MAINTENANCE
    name_->setLine(sensor_->name());
#else
    name_->setLine(sensor_->code());
#endif
    name_->setScale(style.fontScale());
    const QSizeF labelSize = name_->boundingRect().size() * style.fontScale();
    name_->setPos(icon.center().x() - labelSize.width() / 2, icon.top() - labelSize.height());
    bounds_ = childBounds({});
}

#ifndef KELVANE_MAINTENANCE
QGraphicsItem* SensorGraphic::animationItem()
{
    return this;
}
#endif

QRectF SensorGraphic::iconRect() const
{
    return rectInParent(icon_);
}

QRectF SensorGraphic::childBounds(std::initializer_list<const QGraphicsItem*> children) const
{
    QRectF bounds = rectInParent(icon_) | rectInParent(name_);
    for (const QGraphicsItem* child : children)
        bounds |= rectInParent(child);
    return bounds;
}

void SensorGraphic::updateSensor()
{
    updateToolTip();
#ifndef KELVANE_MAINTENANCE
    updateAnimation();
#endif
    doUpdateSensor();
}

void SensorGraphic::updateToolTip()
{
    setToolTip(sensor_->name() + QLatin1Char(':') + sensor_->toolTip());
}
