#pragma once

#include "graphics/scene_bounds.h"
#include "item_type.h"
#include "kelvane_export.h"

#include <QGraphicsObject>
#include <QHash>
#include <QPointer>
#include <QString>

class QGraphicsItemGroup;
class SensorGraphic;

namespace harq {
class Sensor;
}

/// Holds the sensor graphics of the deck on show, one group per view-group code,
/// so a host shows or hides a whole group or a single sensor with one call.
/// A graphic is seen while both its own and its group's visibility are set.
/// Draws nothing itself.
///
/// The host creates the layer, places it in the deck scene and adds the
/// graphics; the layer owns its groups and, through them, the graphics. The
/// sensors are not owned. New groups start visible, also after hideAll().
class KELVANE_EXPORT SensorLayer : public QGraphicsObject
{
    Q_OBJECT

public:
    /// Item type of the sensor layer, for qgraphicsitem_cast().
    enum { Type = kelvane::SensorLayerType };

    /// An empty layer, child item of \a parent (none when null).
    explicit SensorLayer(QGraphicsItem* parent = nullptr);
    /// Takes the layer out of its parent item; groups and graphics go with it.
    ~SensorLayer() override;

    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }

    /// Files \a graphic under its sensor's view-group code, creating the group
    /// on first use; a sensor without view group goes to the group "". A null
    /// graphic, or one without a sensor, is ignored. A second graphic of the
    /// same sensor replaces the first in the table; the first stays on show.
    /// The layer owns the graphic from then on; the graphic keeps its scene
    /// position. The group is read now and not followed later.
    void addSensor(SensorGraphic* graphic);
    /// Destroys the graphic of \a sensor; its group stays, possibly empty.
    /// Sensors without a graphic here are ignored.
    void removeSensor(harq::Sensor* sensor);
    /// Destroys the group \a group with all graphics in it; a code without a
    /// group is ignored.
    void removeGroup(const QString& group);
    /// Destroys all groups and graphics.
    void clear();

    /// In the maintenance edition the scene's rectangle while in a scene, otherwise
    /// empty; in kelvaned always empty, as the layer draws nothing.
    QRectF boundingRect() const override;
    /// Draws nothing; the graphics draw themselves.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

public slots:
    /// Makes every group visible; graphics hidden one by one stay hidden.
    void showAll();
    /// Hides every group; groups created later start visible.
    void hideAll();
    /// Hides the group \a group.
    void hideGroup(const QString& group);
    /// Shows the group \a group; its graphics hidden one by one stay hidden.
    void showGroup(const QString& group);
    /// Shows or hides the group \a group as \a visible says.
    /// Codes without a group are ignored, here and in showGroup()/hideGroup().
    void setGroupVisible(const QString& group, bool visible);
    /// Shows or hides the graphic of \a sensor as \a visible says; it is seen
    /// only while its group is shown too. Sensors without a graphic here are ignored.
    void setSensorVisible(const harq::Sensor* sensor, bool visible);

private:
    QHash<QString, QGraphicsItemGroup*> group_;
    // Guarded: a graphic the host destroyed itself is never touched again.
    QHash<const harq::Sensor*, QPointer<SensorGraphic>> sensors_;
    // Measured by the maintenance edition only, whose tools find the layer
    // anywhere on the deck; kelvaned leaves it empty.
    SceneBounds scene_bounds_;
};
