#include "graphics/boundary_line.h"

#include <QBrush>
#include <QPen>

namespace {

constexpr int kMasterWidth = 6;
constexpr int kSlaveWidth = 4;
constexpr Qt::GlobalColor kNormalColor = Qt::red;
constexpr Qt::GlobalColor kHighlightColor = Qt::blue;

} // namespace

BoundaryLine::~BoundaryLine()
{
    setParentItem(nullptr);
}

void BoundaryLine::makeMasterBoundary(const QLineF& line)
{
    takeRole(Qt::SolidLine, kMasterWidth, line);
}

void BoundaryLine::makeSlaveBoundary(const QLineF& line)
{
    takeRole(Qt::DotLine, kSlaveWidth, line);
}

void BoundaryLine::reactTouch()
{
    applyPen(kHighlightColor);
}

void BoundaryLine::resumeBoundary()
{
    applyPen(kNormalColor);
}

void BoundaryLine::hoverEnterEvent(QGraphicsSceneHoverEvent* event)
{
    hovered_ = true;
    QGraphicsLineItem::hoverEnterEvent(event);
    emit touchBoundary();
}

void BoundaryLine::hoverLeaveEvent(QGraphicsSceneHoverEvent* event)
{
    if (!hovered_)
        return;
    hovered_ = false;
    QGraphicsLineItem::hoverLeaveEvent(event);
    emit leaveBoundary();
}

void BoundaryLine::takeRole(Qt::PenStyle style, int width, const QLineF& line)
{
    pen_style_ = style;
    pen_width_ = width;
    resumeBoundary();
    setLine(line);
}

void BoundaryLine::applyPen(Qt::GlobalColor color)
{
    setPen(QPen(QBrush(color, Qt::SolidPattern), qreal(pen_width_), pen_style_, Qt::SquareCap, Qt::BevelJoin));
}
