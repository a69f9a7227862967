#pragma once

#include "graphics/path_editor.h"
#include "item_type.h"
#include "kelvane_export.h"

class QGraphicsLineItem;

namespace gedit {

/// Draws a new outline point by point: a left press places a point, a right
/// press or a left double click finishes, a right press before any point
/// cancels. Rubber bands from the last and from the first point follow the
/// pointer. Points are reported in scene coordinates.
///
/// The lines take their pens from the region style when each is made: the
/// trace pen for segments, a dashed pen in the edit pen's colour for the
/// closing line. They are child items of the drawer and stay until it is
/// deleted.
class KELVANE_EXPORT PathDrawer : public PathEditor
{
    Q_OBJECT

public:
    /// Item type of the outline drawer, for qgraphicsitem_cast().
    enum { Type = kelvane::PathDrawerType };

    /// A drawer with no point placed yet, child item of \a parent (none when
    /// null). \a path only gives the extent until the drawer is in a scene
    /// (see PathEditor); the new outline starts empty.
    explicit PathDrawer(QPolygonF path, QGraphicsItem* parent = nullptr);

    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }

protected:
    /// Once a point is placed, moves the far ends of both rubber bands to the
    /// pointer; before that nothing moves. The event is accepted.
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;
    /// Left button: places a point at the press's scene position. Right
    /// button: emits finish() with the points placed so far, or cancel() when
    /// there is none. Other buttons do nothing. The event is accepted.
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    /// Left button: emits finish() with the points placed; the press before
    /// the double click already placed its point, so it is not placed twice.
    /// Other buttons do nothing. The event is accepted.
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;

private slots:
    void addPoint(QPointF point);

private:
    QPolygonF path_;
    QGraphicsLineItem* line_ = nullptr;
    QGraphicsLineItem* close_line_ = nullptr;
};

} // namespace gedit
