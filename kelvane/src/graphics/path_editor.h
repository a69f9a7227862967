#pragma once

#include "kelvane_export.h"
#include "graphics/scene_bounds.h"

#include <QGraphicsObject>
#include <QPolygonF>

namespace gedit {

/// Base of the outline editors: an invisible item that covers the whole scene
/// so it receives the pointer anywhere, and reports the result by signals.
/// The editor never removes itself; its owner deletes it after finish or cancel.
class KELVANE_EXPORT PathEditor : public QGraphicsObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 46 };

    /// \a path is the outline being edited; it is the editor's extent until
    /// the editor is placed in a scene.
    explicit PathEditor(QPolygonF path, QGraphicsItem* parent = nullptr);
    ~PathEditor() override;

    /// The scene rectangle while in a scene, else the extent of the path the
    /// editor was made from.
    QRectF boundingRect() const override;
    /// Draws nothing: child items show the editing lines.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    int type() const override { return Type; }

signals:
    /// The operator accepted \a path (not closed: the first point is not repeated).
    void finish(QPolygonF path);
    /// The operator abandoned editing.
    void cancel();

private:
    QPolygonF copy_;
    SceneBounds scene_bounds_;
};

} // namespace gedit
