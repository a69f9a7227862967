#include "graphics/graphic_edit_factory.h"

#include "graphics/gedit/path_drawer.h"
#include "kelvane_assert.h"

#include <QGraphicsLineItem>

#include <utility>

namespace gedit {

PathEditor* createPathEditor(QPolygonF path, PathState state)
{
    if (state != REDRAW)
        return nullptr;
    return new PathDrawer(std::move(path), nullptr);
}

void moveEndPoint(QGraphicsLineItem* line, QPointF pos)
{
    KELVANE_ASSERT(line);
    line->setLine(QLineF(line->line().p1(), pos));
}

} // namespace gedit
