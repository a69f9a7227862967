#pragma once

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
class KELVANE_EXPORT PositionIconGraphic : public QGraphicsObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 60 };

    /// Inactive, without an icon, at position (0, 0).
    explicit PositionIconGraphic(QGraphicsItem* parent = nullptr);
    ~PositionIconGraphic() override;

    int type() const override { return Type; }
    /// The scene rectangle in a scene; otherwise the icon's bounds, empty without an icon.
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    /// Shows \a pixmap at the sensor icons' width and opacity, centred on \a pos,
    /// which becomes the position to return to.
    void setIcon(const QPixmap& pixmap, QPointF pos);
    /// The last confirmed or set position.
    QPointF position() const { return pos_; }
    /// Makes the icon follow the pointer.
    void active();
    /// Takes the icon's position and reports it with newPoint(). Without an icon
    /// nothing was placed: the graphic only stops following the pointer.
    void confirm();
    /// Puts a following icon back at the last position and stops following.
    void cancel();

signals:
    /// The maintainer confirmed \a pos (scene coordinates).
    void newPoint(QPointF pos);

public slots:
    /// Moves the icon to \a pos while it follows the pointer.
    void moveToPosition(QPointF pos);
    /// POSITIONING starts following, CONFIRM reports a followed position, every
    /// other state puts a following icon back.
    void onMaintenanceStateChanged(MaintenanceCommandState state);

protected:
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;

private:
    void setFollowing(bool following);

    QPointF pos_;
    bool active_ = false;
    QGraphicsPixmapItem* icon_ = nullptr;
    SceneBounds scene_bounds_;
};
