#include "graphics/scene_bounds.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QScopedValueRollback>

QRectF SceneBounds::measure(const QGraphicsItem* item, const QRectF& fallback) const
{
    QGraphicsScene* scene = item->scene();
    if (!scene || measuring_)
        return fallback;
    const QScopedValueRollback<bool> guard(measuring_, true);
    return scene->sceneRect();
}
