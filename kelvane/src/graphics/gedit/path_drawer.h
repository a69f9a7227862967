#pragma once

#include "graphics/path_editor.h"
#include "kelvane_export.h"

class QGraphicsLineItem;

namespace gedit {

/// Draws a new outline point by point: a left press places a point, a right
/// press or a left double click finishes, a right press before any point
/// cancels. Rubber bands from the last and from the first point follow the
/// pointer. Points are reported in scene coordinates.
class KELVANE_EXPORT PathDrawer : public PathEditor
{
    Q_OBJECT

public:
    enum { Type = UserType + 47 };

    explicit PathDrawer(QPolygonF path, QGraphicsItem* parent = nullptr);

    int type() const override { return Type; }

protected:
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;

private slots:
    void addPoint(QPointF point);

private:
    QPolygonF path_;
    QGraphicsLineItem* line_ = nullptr;
    QGraphicsLineItem* close_line_ = nullptr;
};

} // namespace gedit
