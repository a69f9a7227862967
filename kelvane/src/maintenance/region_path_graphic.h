#pragma once

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
class KELVANE_EXPORT RegionPathGraphic : public QGraphicsObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 61 };

    /// Shows no outline and is not drawing.
    explicit RegionPathGraphic(QGraphicsItem* parent = nullptr);
    ~RegionPathGraphic() override;

    int type() const override { return Type; }
    /// The scene rectangle in a scene; otherwise the bounds of the outline.
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    /// Shows \a path as the accepted outline.
    void setPath(const QPolygonF& path);
    /// The accepted outline.
    const QPolygonF& path() const { return path_; }
    /// True while a drawing is under way.
    bool isEditing() const { return editing_; }
    /// The graphic's own command, already connected to onMaintenanceStateChanged().
    MaintenanceCommand* command() const { return command_; }

    /// Starts a drawing: the old outline is hidden until the drawing ends.
    void editPath();
    /// Nothing: points are placed by the press itself.
    void nextPoint();
    /// Accepts the points placed so far and reports them with newPath().
    void confirm();
    /// The same as confirm().
    void completeParitially();
    /// Ends a drawing and shows the accepted outline again.
    void nonoperation();
    /// Creates the two working lines once; they start hidden.
    void createWorkingLine();
    void showWorkingLine();
    void hideWorkingLine();

signals:
    /// The accepted outline: the placed points in order, not closed. A receiver
    /// may delete the graphic.
    void newPath(QPolygonF path);

public slots:
    /// Places \a point (scene coordinates) in the drawing under way; ignored
    /// when no drawing is under way.
    void onAddPoint(QPointF point);
    /// IDLE and POSITIONING end a drawing, PATH starts one, CONFIRM and
    /// COMPLETE_PARTIALLY accept the drawing under way.
    void onMaintenanceStateChanged(MaintenanceCommandState state);

protected:
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
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
