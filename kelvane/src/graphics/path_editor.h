#pragma once

#include "item_type.h"
#include "kelvane_export.h"
#include "graphics/scene_bounds.h"

#include <QGraphicsObject>
#include <QPolygonF>

namespace gedit {

/// Base of the outline editors: an invisible item that covers the whole scene
/// so it receives the pointer anywhere, and reports the result by signals.
/// The editor never removes itself; its owner deletes it after finish or cancel.
/// It sets no stacking order: the host puts it above the deck's other items
/// (for instance by its z-value) so that it gets the pointer. Edition with
/// tags only; gedit::createPathEditor() makes the editors.
class KELVANE_EXPORT PathEditor : public QGraphicsObject
{
    Q_OBJECT

public:
    /// Item type of the editor base, for qgraphicsitem_cast().
    enum { Type = kelvane::PathEditorType };

    /// \a path is the outline being edited; it is the editor's extent until
    /// the editor is placed in a scene. The editor is a child item of \a parent
    /// (none when null) and takes hover events.
    explicit PathEditor(QPolygonF path, QGraphicsItem* parent = nullptr);
    /// Takes the editor out of its parent item; its editing lines go with it.
    ~PathEditor() override;

    /// The scene rectangle while in a scene, else the extent of the path the
    /// editor was made from.
    QRectF boundingRect() const override;
    /// Draws nothing: child items show the editing lines.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }

signals:
    /// The operator accepted \a path (not closed: the first point is not repeated),
    /// in scene coordinates. The path is not checked: it may have fewer points
    /// than an outline needs. Editing goes on after the signal until the owner
    /// deletes the editor, so it may come again.
    void finish(QPolygonF path);
    /// The operator abandoned editing.
    void cancel();

private:
    QPolygonF copy_;
    SceneBounds scene_bounds_;
};

} // namespace gedit
