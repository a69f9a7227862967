#pragma once

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsSceneHoverEvent>

namespace kelvane {

/// Ends the hover of \a item before it is hidden, rebuilt or deleted: Qt sends
/// no hover-leave to an item that disappears under the pointer, yet whoever saw
/// it enter waits for it to leave. Sends the item a hover-leave while it can
/// still take one (in a scene and visible); the item itself ignores a leave
/// that did not follow an enter.
inline void endHover(QGraphicsItem* item)
{
    QGraphicsScene* scene = item->scene();
    if (!scene || !item->isVisible())
        return;
    QGraphicsSceneHoverEvent leave(QEvent::GraphicsSceneHoverLeave);
    scene->sendEvent(item, &leave);
}

/// endHover() for each of \a items, a list of item pointers.
template <typename Items>
void endHovers(const Items& items)
{
    for (QGraphicsItem* item : items)
        endHover(item);
}

} // namespace kelvane
