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
    return scene_bounds_.measure(this, copy_.boundingRect());
}

void PathEditor::paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*)
{
}

} // namespace gedit
