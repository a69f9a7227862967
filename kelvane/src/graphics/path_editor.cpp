#include "graphics/path_editor.h"

#include <QGraphicsScene>

#include <utility>

namespace gedit {

PathEditor::PathEditor(QPolygonF path, QGraphicsItem* parent)
    : QGraphicsObject(parent)
    , copy_(std::move(path))
{
    setAcceptHoverEvents(true);
}

PathEditor::~PathEditor()
{
    setParentItem(nullptr);
}

QRectF PathEditor::boundingRect() const
{
    if (!scene())
        return copy_.boundingRect();
    // A scene without a fixed rectangle asks this item again while computing
    // its own; the editor then adds nothing to it.
    if (in_bounding_rect_)
        return QRectF();
    in_bounding_rect_ = true;
    const QRectF rect = scene()->sceneRect();
    in_bounding_rect_ = false;
    return rect;
}

void PathEditor::paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*)
{
}

} // namespace gedit
