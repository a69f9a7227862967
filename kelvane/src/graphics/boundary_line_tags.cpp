// The segment's constructor in the edition with tags, where a segment knows its boundary.
#include "graphics/boundary_line.h"

#include "graphics/damage_boundary.h"

BoundaryLine::BoundaryLine(DamageBoundary* boundary)
    : QGraphicsLineItem(boundary)
    , boundary_(boundary)
{
    setAcceptHoverEvents(true);
}
