#pragma once

#include "item_type.h"
#include "kelvane_export.h"
#include "graphics/scene_bounds.h"

#include <QGraphicsObject>
#include <QPointF>
#include <QPointer>

class PixmapTag;

namespace gedit {

/// Moves a tag with the pointer: the tag follows the pointer, a left press
/// confirms the place, a right press puts the tag back and cancels. After
/// either the editor is done: the tag no longer follows the pointer, later
/// presses neither move it nor emit again, so the place reported stays until
/// the host removes the editor. The editor covers the whole scene so it
/// sees the pointer anywhere; it never deletes itself or the tag. Like the
/// path editors it sets no stacking order. Edition with tags only.
class KELVANE_EXPORT TagEditor : public QGraphicsObject
{
    Q_OBJECT

public:
    /// Item type of the tag editor, for qgraphicsitem_cast().
    enum { Type = kelvane::TagEditorType };

    /// An editor that moves \a tag (not owned), remembering its position for
    /// a cancel; child item of \a parent (none when null), taking hover
    /// events. A null \a tag stops the process through the library's
    /// assertion. A tag deleted while the editor lives is left alone from then on.
    explicit TagEditor(PixmapTag* tag, QGraphicsItem* parent = nullptr);
    /// Takes the editor out of its parent item; the tag is not touched.
    ~TagEditor() override;

    /// The scene rectangle while in a scene, else the tag's bounding rectangle.
    QRectF boundingRect() const override;
    /// Draws nothing.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }

signals:
    /// The operator placed the tag at scene position \a pos.
    void finish(QPointF pos);
    /// The operator abandoned the move; the tag is back at its old position.
    void cancel();

protected:
    /// Until the first left or right press, puts the tag under the pointer
    /// (mapped into the tag's parent item). The event is accepted.
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;
    /// Left button: the tag stops following and finish() is emitted. Right
    /// button: the tag stops following, goes back to its old position and
    /// cancel() is emitted. Other buttons do nothing. After finish() or
    /// cancel() every press does nothing, so each editor emits at most one of
    /// them once. The event is accepted in every case.
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;

private:
    QPointer<PixmapTag> tag_;
    QPointF pos_;
    bool dragging_ = true;
    SceneBounds scene_bounds_;
};

} // namespace gedit
