#include "maintenance/region_path_graphic.h"

#include "config/region_config.h"
#include "maintenance/maintenance_command.h"
#include "object_link.h"

#include <QBrush>
#include <QGraphicsLineItem>
#include <QGraphicsPolygonItem>
#include <QGraphicsRectItem>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPen>

RegionPathGraphic::RegionPathGraphic(QGraphicsItem* parent)
    : QGraphicsObject(parent)
{
    command_ = new MaintenanceCommand(this);
    polygon_ = new QGraphicsPolygonItem(this);
    polygon_->setPen(RegionConfig::instance().pathEditPen());
    polygon_->setBrush(Qt::NoBrush);
    createWorkingLine();
    connect(command_, &MaintenanceCommand::stateChanged, this, &RegionPathGraphic::onMaintenanceStateChanged);
}

RegionPathGraphic::~RegionPathGraphic()
{
    setParentItem(nullptr);
}

QRectF RegionPathGraphic::boundingRect() const
{
    return scene_bounds_.measure(this, path_.boundingRect());
}

void RegionPathGraphic::paint(QPainter* /*painter*/, const QStyleOptionGraphicsItem* /*option*/,
                              QWidget* /*widget*/)
{
}

void RegionPathGraphic::setPath(const QPolygonF& path)
{
    prepareGeometryChange();
    path_ = path;
    polygon_->setPolygon(path_);
    polygon_->setVisible(true);
    hideWorkingLine();
}

void RegionPathGraphic::editPath()
{
    editing_ = true;
    setAcceptHoverEvents(true);
    points_.clear();
    polygon_->setVisible(false);
    hideWorkingLine();
    dropSegments();
    segments_ = new QGraphicsRectItem(this);
}

void RegionPathGraphic::nextPoint()
{
}

void RegionPathGraphic::confirm()
{
    prepareGeometryChange();
    path_ = points_;
    // A receiver may delete this graphic: nothing of it is touched afterwards.
    emit newPath(path_);
}

void RegionPathGraphic::completeParitially()
{
    confirm();
}

void RegionPathGraphic::nonoperation()
{
    editing_ = false;
    // Covering the scene, the graphic would otherwise keep the pointer from the items below.
    setAcceptHoverEvents(false);
    hideWorkingLine();
    dropSegments();
    polygon_->setPolygon(path_);
    polygon_->setVisible(true);
}

void RegionPathGraphic::createWorkingLine()
{
    if (line_)
        return;
    const RegionConfig& style = RegionConfig::instance();
    line_ = new QGraphicsLineItem(this);
    line_->setPen(style.pathTracePen());
    QPen close_pen = style.pathTracePen();
    close_pen.setColor(style.pathEditPen().color());
    close_pen.setStyle(Qt::DashLine);
    close_line_ = new QGraphicsLineItem(this);
    close_line_->setPen(close_pen);
    // Shown from the first placed point of a drawing on.
    hideWorkingLine();
}

void RegionPathGraphic::showWorkingLine()
{
    line_->setVisible(true);
    close_line_->setVisible(true);
}

void RegionPathGraphic::hideWorkingLine()
{
    line_->setVisible(false);
    close_line_->setVisible(false);
}

void RegionPathGraphic::onAddPoint(QPointF point)
{
    if (!editing_)
        return;
    if (points_.isEmpty()) {
        line_->setLine(QLineF(point, point));
        close_line_->setLine(QLineF(point, point));
        showWorkingLine();
    } else {
        auto* segment = new QGraphicsLineItem(QLineF(points_.last(), point), segments_);
        segment->setPen(RegionConfig::instance().pathEditPen());
        line_->setLine(QLineF(point, point));
        close_line_->setLine(QLineF(points_.first(), point));
    }
    points_.append(point);
}

void RegionPathGraphic::onMaintenanceStateChanged(MaintenanceCommandState state)
{
    switch (state) {
    case IDLE:
    case POSITIONING:
        // Another task, or none: a drawing under way is abandoned.
        nonoperation();
        break;
    case CONFIRM:
        // Only a drawing under way has anything to accept; a confirmed position is not an outline.
        if (editing_)
            confirm();
        break;
    case COMPLETE_PARTIALLY:
        if (editing_)
            completeParitially();
        break;
    case PATH:
        editPath();
        break;
    case NEXT_POINT:
        nextPoint();
        break;
    }
}

void RegionPathGraphic::hoverMoveEvent(QGraphicsSceneHoverEvent* event)
{
    if (!editing_ || !line_)
        return;
    const QPointF pointer = event->scenePos();
    line_->setLine(QLineF(line_->line().p1(), pointer));
    close_line_->setLine(QLineF(close_line_->line().p1(), pointer));
}

void RegionPathGraphic::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && editing_) {
        onAddPoint(event->scenePos());
        event->accept();
    } else {
        // Leave the press to the items below.
        event->ignore();
    }
}

void RegionPathGraphic::mouseMoveEvent(QGraphicsSceneMouseEvent* /*event*/)
{
}

void RegionPathGraphic::dropSegments()
{
    if (!segments_)
        return;
    kelvane::detachAndDelete(segments_);
    segments_ = nullptr;
}
