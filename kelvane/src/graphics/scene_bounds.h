#pragma once

#include <QRectF>

class QGraphicsItem;

/// Bounds of an item that covers its whole scene. A scene without a fixed
/// rectangle asks every item for its bounds while it computes its own; the
/// re-entered call answers the fallback instead of recursing.
class SceneBounds
{
public:
    /// The scene rectangle of \a item's scene, or \a fallback outside a scene
    /// and while the scene is measuring itself.
    QRectF measure(const QGraphicsItem* item, const QRectF& fallback) const;

private:
    mutable bool measuring_ = false;
};
