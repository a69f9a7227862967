#include "graphics/sensor_graphic.h"

#include "config/sensor_config.h"
#include "entity/sensor.h"
#include "graphics/sensor_label.h"
#include "graphics/sensor_graphic_edition.h"
#include "kelvane_assert.h"
#include "kelvane_edition.h"
#include "slot_connection.h"

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
    // A blink left over from the previous sensor's alarm would mislead about this one.
    SensorGraphicEdition::stopBlink(*this);
    sensor_ = sensor;
    tool_tips_.clear();
    tool_tip_.clear();
    kelvane::connectToSlot(sensor, &harq::Sensor::sensorStateChanged, this, "updateSensor()");
    initSensor();
    setPos(sensor->position().x(), sensor->position().y());
    updateToolTip();
}

harq::Sensor* SensorGraphic::sensor() const
{
    return sensor_;
}

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

    name_->setDefaultTextColor(style.labelColor());
    name_->setOpacity(style.opacity());
    // The maintainer places sensors by name; the operator reads their codes.
    name_->setLine(kelvane::kMaintenanceEdition ? sensor_->name() : sensor_->code());
    name_->setScale(style.fontScale());
    const QSizeF labelSize = name_->boundingRect().size() * style.fontScale();
    name_->setPos(icon.center().x() - labelSize.width() / 2, icon.top() - labelSize.height());
    bounds_ = childBounds({});
}

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
    SensorGraphicEdition::followState(*this);
    doUpdateSensor();
}

void SensorGraphic::updateToolTip()
{
    // This runs on every state change: the text is the one kept for the
    // state, and a text equal to the one set last is not set again.
    const QString& text = tool_tips_.text(*sensor_);
    if (text == tool_tip_)
        return;
    tool_tip_ = text;
    setToolTip(text);
}
