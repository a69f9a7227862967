#include "maintenance/position_icon_graphic.h"

#include "config/sensor_config.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsSceneHoverEvent>
#include <QScopedValueRollback>

namespace {

/// Offsets the icon by half its size so that it is centred on its position.
constexpr qreal kCentre = 0.5;

} // namespace

PositionIconGraphic::PositionIconGraphic(QGraphicsItem* parent)
    : QGraphicsObject(parent)
{
}

PositionIconGraphic::~PositionIconGraphic()
{
    setParentItem(nullptr);
}

QRectF PositionIconGraphic::boundingRect() const
{
    return scene_bounds_.measure(this, icon_ ? icon_->boundingRect() : QRectF());
}

void PositionIconGraphic::paint(QPainter* /*painter*/, const QStyleOptionGraphicsItem* /*option*/,
                                QWidget* /*widget*/)
{
}

void PositionIconGraphic::setIcon(const QPixmap& pixmap, QPointF pos)
{
    prepareGeometryChange();
    if (!icon_) {
        icon_ = new QGraphicsPixmapItem(this);
        // Keeps the icon's size on screen at every zoom.
        icon_->setFlag(QGraphicsItem::ItemIgnoresTransformations);
    }
    const SensorConfig& style = SensorConfig::instance();
    icon_->setPixmap(pixmap);
    icon_->setOpacity(style.opacity());
    icon_->setScale(style.width() / qMax(pixmap.width(), 1));
    icon_->setOffset(-pixmap.width() * kCentre, -pixmap.height() * kCentre);

    pos_ = pos;
    const QScopedValueRollback<bool> following(active_, true);
    moveToPosition(pos);
}

void PositionIconGraphic::active()
{
    setFollowing(true);
}

void PositionIconGraphic::confirm()
{
    setFollowing(false);
    if (!icon_)
        return;
    pos_ = icon_->scenePos();
    emit newPoint(pos_);
}

void PositionIconGraphic::cancel()
{
    moveToPosition(pos_);
    setFollowing(false);
}

void PositionIconGraphic::moveToPosition(QPointF pos)
{
    if (!active_ || !icon_)
        return;
    icon_->setPos(mapFromScene(pos));
}

void PositionIconGraphic::onMaintenanceStateChanged(MaintenanceCommandState state)
{
    switch (state) {
    case POSITIONING:
        active();
        break;
    case CONFIRM:
        // A confirmed outline is not a position: only a following icon reports.
        if (active_)
            confirm();
        break;
    default:
        // Any other task, or none, ends the positioning.
        cancel();
        break;
    }
}

void PositionIconGraphic::setFollowing(bool following)
{
    active_ = following;
    // Covering the scene, the graphic would otherwise keep the pointer from the items below.
    setAcceptHoverEvents(following);
}

void PositionIconGraphic::hoverMoveEvent(QGraphicsSceneHoverEvent* event)
{
    moveToPosition(event->scenePos());
}
