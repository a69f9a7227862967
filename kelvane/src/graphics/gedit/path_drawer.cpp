#include "graphics/gedit/path_drawer.h"

#include "config/region_config.h"
#include "graphics/graphic_edit_factory.h"

#include <QGraphicsLineItem>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPen>

#include <utility>

namespace gedit {

namespace {

// Pens are read when a line is made, so a style loaded meanwhile applies.
QPen segmentPen()
{
    return RegionConfig::instance().pathTracePen();
}

QPen closingLinePen()
{
    QPen pen = RegionConfig::instance().pathTracePen();
    pen.setColor(RegionConfig::instance().pathEditPen().color());
    pen.setStyle(Qt::DashLine);
    return pen;
}

} // namespace

PathDrawer::PathDrawer(QPolygonF path, QGraphicsItem* parent)
    : PathEditor(std::move(path), parent)
    , close_line_(new QGraphicsLineItem(this))
{
    close_line_->setPen(closingLinePen());
}

void PathDrawer::addPoint(QPointF point)
{
    path_.append(point);
    // The previous segment stays where the pointer last left it.
    const QPointF local = mapFromScene(point);
    line_ = new QGraphicsLineItem(QLineF(local, local), this);
    line_->setPen(segmentPen());
    close_line_->setLine(QLineF(mapFromScene(path_.first()), local));
}

void PathDrawer::hoverMoveEvent(QGraphicsSceneHoverEvent* event)
{
    if (line_) {
        moveEndPoint(line_, event->pos());
        moveEndPoint(close_line_, event->pos());
    }
    event->accept();
}

void PathDrawer::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    switch (event->button()) {
    case Qt::LeftButton:
        addPoint(event->scenePos());
        break;
    case Qt::RightButton:
        if (path_.isEmpty())
            emit cancel();
        else
            emit finish(path_);
        break;
    default:
        break;
    }
    event->accept();
}

void PathDrawer::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event)
{
    // The press before the double click has already placed this point.
    if (event->button() == Qt::LeftButton)
        emit finish(path_);
    event->accept();
}

} // namespace gedit
