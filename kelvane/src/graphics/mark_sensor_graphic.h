#pragma once

#include "graphics/sensor_graphic.h"

class QGraphicsRectItem;

/// Sensor graphic with a bar under the icon whose colours tell which items of
/// the sensor are abnormal: green while the sensor is normal, otherwise one
/// band per abnormal item in the sensor style's colour for the item's position.
/// Only the bar blinks.
class KELVANE_EXPORT MarkSensorGraphic : public SensorGraphic
{
    Q_OBJECT

public:
    enum { Type = UserType + 11 };

    explicit MarkSensorGraphic(QGraphicsItem* parent = nullptr);

    int type() const override { return Type; }
    /// The icon, the label and the mark.
    QRectF boundingRect() const override;

protected:
    void initSensor() override;
    void doUpdateSensor() override;
#ifndef KELVANE_MAINTENANCE
    QGraphicsItem* animationItem() override;
#endif

private:
    QGraphicsRectItem* mark_ = nullptr;
};
