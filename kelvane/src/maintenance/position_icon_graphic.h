#pragma once

#include "item_type.h"
#include "kelvane_export.h"
#include "maintenance/maintenance_command_state.h"
#include "graphics/scene_bounds.h"

#include <QGraphicsObject>
#include <QPointF>

class QGraphicsPixmapItem;
class QPixmap;

/// An icon, sized like the sensor icons, that follows the pointer while the
/// maintainer chooses a position and reports the confirmed position. Covers the
/// whole scene while in one so that it sees the pointer everywhere, but takes
/// hover events only while following, leaving them to the items below
/// otherwise; meant to sit untransformed at the scene origin, so its
/// coordinates are scene coordinates.
///
/// The host creates it, adds it to the scene (which then owns it), connects a
/// MaintenanceCommand's stateChanged to onMaintenanceStateChanged and listens
/// to newPoint. The icon is a child item that ignores view transformations,
/// so it keeps its size on screen at every zoom. Maintenance edition only.
class KELVANE_EXPORT PositionIconGraphic : public QGraphicsObject
{
    Q_OBJECT

public:
    /// The item type returned by type(), for qgraphicsitem_cast.
    enum { Type = kelvane::PositionIconGraphicType };

    /// Inactive, without an icon, at position (0, 0).
    explicit PositionIconGraphic(QGraphicsItem* parent = nullptr);
    /// Detaches the graphic from its parent item first, then deletes it with its icon.
    ~PositionIconGraphic() override;

    /// Type, identifying the item as a PositionIconGraphic.
    int type() const override { return Type; }
    /// The scene rectangle in a scene; otherwise the icon's bounds, empty without an icon.
    QRectF boundingRect() const override;
    /// Draws nothing: only the icon, a child item, is visible.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    /// Shows \a pixmap at the sensor icons' width and opacity, centred on \a pos,
    /// which becomes the position to return to.
    /// The style (SensorConfig::width and SensorConfig::opacity) is read now;
    /// a later style load does not resize the icon. The icon moves to \a pos
    /// even while not following, without emitting newPoint. May be called
    /// again to replace the picture.
    void setIcon(const QPixmap& pixmap, QPointF pos);
    /// The last confirmed or set position.
    QPointF position() const { return pos_; }
    /// Makes the icon follow the pointer, and the graphic take hover events over the whole scene.
    void active();
    /// Takes the icon's position and reports it with newPoint(). Without an icon
    /// nothing was placed: the graphic only stops following the pointer.
    /// Emits newPoint even when the icon was not following.
    void confirm();
    /// Puts a following icon back at the last position and stops following.
    void cancel();

signals:
    /// The maintainer confirmed \a pos (scene coordinates), the icon's new resting
    /// position. Emitted by confirm(), on CONFIRM while following.
    void newPoint(QPointF pos);

public slots:
    /// Moves the icon to \a pos (scene coordinates) while it follows the pointer;
    /// nothing otherwise, nor without an icon.
    void moveToPosition(QPointF pos);
    /// POSITIONING starts following, CONFIRM reports a followed position, every
    /// other state puts a following icon back. A CONFIRM that arrives while not
    /// following (the end of an outline drawing) reports nothing.
    void onMaintenanceStateChanged(MaintenanceCommandState state);

protected:
    /// Moves a following icon to the pointer's scene position.
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;

private:
    void setFollowing(bool following);

    QPointF pos_;
    bool active_ = false;
    QGraphicsPixmapItem* icon_ = nullptr;
    SceneBounds scene_bounds_;
};
