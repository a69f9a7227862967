#include "graphics/tag_editor.h"

#include "graphics/pixmap_tag.h"
#include "kelvane_assert.h"

#include <QGraphicsScene>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>

namespace gedit {

TagEditor::TagEditor(PixmapTag* tag, QGraphicsItem* parent)
    : QGraphicsObject(parent)
    , tag_(tag)
{
    KELVANE_ASSERT(tag);
    pos_ = tag->pos();
    setAcceptHoverEvents(true);
}

TagEditor::~TagEditor()
{
    setParentItem(nullptr);
}

QRectF TagEditor::boundingRect() const
{
    return scene_bounds_.measure(this, tag_ ? tag_->boundingRect() : QRectF());
}

void TagEditor::paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*)
{
}

void TagEditor::hoverMoveEvent(QGraphicsSceneHoverEvent* event)
{
    if (tag_ && dragging_) {
        // Mapped through the parent so a tag under a moved group still
        // lands under the pointer.
        const QGraphicsItem* parent = tag_->parentItem();
        tag_->setPos(parent ? parent->mapFromScene(event->scenePos()) : event->scenePos());
    }
    event->accept();
}

void TagEditor::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    event->accept();
    // Once placed or put back, the tag is the host's again.
    if (!dragging_)
        return;
    switch (event->button()) {
    case Qt::LeftButton:
        dragging_ = false;
        emit finish(event->scenePos());
        break;
    case Qt::RightButton:
        dragging_ = false;
        if (tag_)
            tag_->setPos(pos_);
        emit cancel();
        break;
    default:
        break;
    }
}

} // namespace gedit
