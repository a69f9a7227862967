#pragma once

#include "kelvane_export.h"

#include <QGraphicsObject>
#include <QPointer>

class QGraphicsPixmapItem;
class QGraphicsTextItem;
#ifndef KELVANE_MAINTENANCE
class AlarmAnimation;
#endif

namespace harq {
class Sensor;
}

/// Scene item that shows one sensor: its icon centred on the sensor's position,
/// a label above the icon and a tool tip with the sensor's state. The variants
/// decide what else follows the sensor's state. Nothing is shown before setSensor().
///
/// The variants have their own type(); cast to this base with qobject_cast.
class KELVANE_EXPORT SensorGraphic : public QGraphicsObject
{
    Q_OBJECT

public:
    explicit SensorGraphic(QGraphicsItem* parent = nullptr);
    ~SensorGraphic() override;

    /// Binds the graphic to \a sensor (not null), forgetting the previous one,
    /// and rebuilds icon, label, position and tool tip from it. A running alarm
    /// animation stops; the new sensor's next state change may start it again.
    void setSensor(harq::Sensor* sensor);
    /// The bound sensor; null before setSensor() and once the sensor is destroyed.
    harq::Sensor* sensor() const;
#ifndef KELVANE_MAINTENANCE
    /// Takes ownership of \a animation, destroying the one installed before; null
    /// removes it. It starts at the next state change that finds the sensor
    /// abnormal. Needs a bound sensor.
    void acceptAnimotion(AlarmAnimation* animation);
#endif

    /// Union of the icon and the label; empty before setSensor().
    QRectF boundingRect() const override;
    /// Draws nothing: the child items show everything.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    /// Builds the icon and the label from the sensor and the sensor style.
    virtual void initSensor();
    /// Shows what depends on the sensor's state.
    virtual void doUpdateSensor() = 0;
#ifndef KELVANE_MAINTENANCE
    /// The item the alarm animation blinks.
    virtual QGraphicsItem* animationItem();
#endif

    /// The icon's rectangle in this item's coordinates.
    QRectF iconRect() const;

private slots:
    void updateSensor();

private:
    void updateToolTip();

    QPointer<harq::Sensor> sensor_;
    QGraphicsPixmapItem* icon_ = nullptr;
    QGraphicsTextItem* name_ = nullptr;
#ifndef KELVANE_MAINTENANCE
    QPointer<AlarmAnimation> animation_;
#endif
};
