#pragma once

#include "kelvane_export.h"
#ifdef KELVANE_MAINTENANCE
#include "graphics/scene_bounds.h"
#endif

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
class KELVANE_EXPORT SensorLayer : public QGraphicsObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 12 };

    explicit SensorLayer(QGraphicsItem* parent = nullptr);
    ~SensorLayer() override;

    int type() const override { return Type; }

    /// Files \a graphic under its sensor's view-group code, creating the group
    /// on first use; a sensor without view group goes to the group "". A null
    /// graphic, or one without a sensor, is ignored. A second graphic of the
    /// same sensor replaces the first in the table; the first stays on show.
    void addSensor(SensorGraphic* graphic);
    /// Destroys the graphic of \a sensor; its group stays, possibly empty.
    void removeSensor(harq::Sensor* sensor);
    /// Destroys the group \a group with all graphics in it.
    void removeGroup(const QString& group);
    /// Destroys all groups and graphics.
    void clear();

#ifdef KELVANE_MAINTENANCE
    /// The scene's rectangle while in a scene, otherwise empty.
#else
    /// Empty: the layer draws nothing.
#endif
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

public slots:
    void showAll();
    void hideAll();
    void hideGroup(const QString& group);
    void showGroup(const QString& group);
    /// Codes without a group are ignored, here and in showGroup()/hideGroup().
    void setGroupVisible(const QString& group, bool visible);
    /// Sensors without a graphic here are ignored.
    void setSensorVisible(const harq::Sensor* sensor, bool visible);

private:
    QHash<QString, QGraphicsItemGroup*> group_;
    // Guarded: a graphic the host destroyed itself is never touched again.
    QHash<const harq::Sensor*, QPointer<SensorGraphic>> sensors_;
#ifdef KELVANE_MAINTENANCE
    SceneBounds scene_bounds_;
#endif
};
