#pragma once

#include "item_type.h"
#include "kelvane_export.h"
#include "maintenance/maintenance_command_state.h"
#include "graphics/scene_bounds.h"

#include <QGraphicsObject>
#include <QPolygonF>

class MaintenanceCommand;
class QGraphicsLineItem;
class QGraphicsPolygonItem;
class QGraphicsRectItem;

/// Shows an outline and lets the maintainer draw a new one point by point,
/// driven by maintenance states: PATH starts a drawing, each left press places
/// a point, CONFIRM or COMPLETE_PARTIALLY accept it (newPath), IDLE ends it.
/// Covers the whole scene while in one so that it sees the pointer everywhere,
/// but takes hover events only while drawing, leaving them to the items below
/// otherwise; meant to sit untransformed at the scene origin, so its coordinates are scene
/// coordinates.
///
/// The graphic owns a MaintenanceCommand of its own (command()), already wired
/// to it; a host may drive it through that command or connect its own
/// command's stateChanged to onMaintenanceStateChanged. Outline and segments
/// are drawn with RegionConfig::pathEditPen, the working lines (last point to
/// pointer, first point to pointer dashed) with RegionConfig::pathTracePen;
/// the pens are read when the items are made. Maintenance edition only.
class KELVANE_EXPORT RegionPathGraphic : public QGraphicsObject
{
    Q_OBJECT

public:
    /// The item type returned by type(), for qgraphicsitem_cast.
    enum { Type = kelvane::RegionPathGraphicType };

    /// Shows no outline and is not drawing.
    explicit RegionPathGraphic(QGraphicsItem* parent = nullptr);
    /// Detaches the graphic from its parent item first, then deletes it with its
    /// child items and its command.
    ~RegionPathGraphic() override;

    /// Type, identifying the item as a RegionPathGraphic.
    int type() const override { return Type; }
    /// The scene rectangle in a scene; otherwise the bounds of the outline.
    QRectF boundingRect() const override;
    /// Draws nothing: the outline and the lines are child items.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    /// Shows \a path as the accepted outline.
    /// The outline is shown even during a drawing, and the working lines are hidden.
    void setPath(const QPolygonF& path);
    /// The accepted outline.
    const QPolygonF& path() const { return path_; }
    /// True while a drawing is under way.
    bool isEditing() const { return editing_; }
    /// The graphic's own command, already connected to onMaintenanceStateChanged().
    /// Owned by the graphic (a Qt child) and deleted with it.
    MaintenanceCommand* command() const { return command_; }

    /// Starts a drawing: the old outline is hidden until the drawing ends.
    /// Points placed in a drawing already under way are discarded, and the
    /// graphic takes hover events over the whole scene until the drawing ends.
    void editPath();
    /// Nothing: points are placed by the press itself.
    void nextPoint();
    /// Accepts the points placed so far and reports them with newPath().
    /// Does not end the drawing; the IDLE that follows does. Fewer than three
    /// points are reported all the same: receivers judge the outline.
    void confirm();
    /// The same as confirm().
    void completeParitially();
    /// Ends a drawing and shows the accepted outline again: the segments drawn
    /// are deleted and the working lines hidden. Harmless when not drawing.
    void nonoperation();
    /// Creates the two working lines once; they start hidden.
    void createWorkingLine();
    /// Shows both working lines.
    void showWorkingLine();
    /// Hides both working lines.
    void hideWorkingLine();

signals:
    /// The accepted outline: the placed points in order, not closed. A receiver
    /// may delete the graphic.
    /// Emitted on CONFIRM or COMPLETE_PARTIALLY during a drawing; the drawing
    /// ends with the IDLE that follows. An abandoned drawing emits nothing.
    void newPath(QPolygonF path);

public slots:
    /// Places \a point (scene coordinates) in the drawing under way; ignored
    /// when no drawing is under way.
    void onAddPoint(QPointF point);
    /// IDLE and POSITIONING end a drawing, PATH starts one, CONFIRM and
    /// COMPLETE_PARTIALLY accept the drawing under way.
    /// CONFIRM and COMPLETE_PARTIALLY without a drawing under way (a confirmed
    /// position) are ignored; NEXT_POINT does nothing, since the press itself
    /// places the point.
    void onMaintenanceStateChanged(MaintenanceCommandState state);

protected:
    /// During a drawing, ends both working lines at the pointer.
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;
    /// During a drawing, a left press places a point at its scene position and
    /// is accepted; any other press is ignored and reaches the items below.
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    /// Does nothing: dragging after a press draws nothing.
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;

private:
    void dropSegments();

    QPolygonF points_;
    QPolygonF path_;
    bool editing_ = false;
    QGraphicsLineItem* line_ = nullptr;
    QGraphicsLineItem* close_line_ = nullptr;
    QGraphicsRectItem* segments_ = nullptr;
    QGraphicsPolygonItem* polygon_ = nullptr;
    MaintenanceCommand* command_ = nullptr;
    SceneBounds scene_bounds_;
};
