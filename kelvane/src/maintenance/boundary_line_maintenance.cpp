// The segment's constructor in the maintenance edition, where any item may hold a segment.
#include "graphics/boundary_line.h"

BoundaryLine::BoundaryLine(QGraphicsItem* parent)
    : QGraphicsLineItem(parent)
{
    setAcceptHoverEvents(true);
}
