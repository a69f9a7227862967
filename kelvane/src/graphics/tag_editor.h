#pragma once

#include "kelvane_export.h"
#include "graphics/scene_bounds.h"

#include <QGraphicsObject>
#include <QPointF>
#include <QPointer>

class PixmapTag;

namespace gedit {

/// Moves a tag with the pointer: the tag follows the pointer, a left press
/// confirms the place, a right press puts the tag back and cancels. After
/// either the tag no longer follows the pointer, so the place reported stays
/// until the host removes the editor. The editor covers the whole scene so it
/// sees the pointer anywhere; it never deletes itself or the tag.
class KELVANE_EXPORT TagEditor : public QGraphicsObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 44 };

    /// \a tag must not be null. A tag deleted while the editor lives is left
    /// alone from then on.
    explicit TagEditor(PixmapTag* tag, QGraphicsItem* parent = nullptr);
    ~TagEditor() override;

    /// The scene rectangle while in a scene, else the tag's bounding rectangle.
    QRectF boundingRect() const override;
    /// Draws nothing.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    int type() const override { return Type; }

signals:
    /// The operator placed the tag at scene position \a pos.
    void finish(QPointF pos);
    /// The operator abandoned the move; the tag is back at its old position.
    void cancel();

protected:
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;

private:
    QPointer<PixmapTag> tag_;
    QPointF pos_;
    bool dragging_ = true;
    SceneBounds scene_bounds_;
};

} // namespace gedit
