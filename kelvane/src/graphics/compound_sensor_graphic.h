#pragma once

#include "graphics/sensor_graphic.h"

/// The plain sensor graphic: its state shows in the tool tip and, while the
/// sensor is abnormal, through the blinking of the whole graphic.
class KELVANE_EXPORT CompoundSensorGraphic : public SensorGraphic
{
    Q_OBJECT

public:
    enum { Type = UserType + 10 };

    explicit CompoundSensorGraphic(QGraphicsItem* parent = nullptr);

    int type() const override { return Type; }

protected:
    void doUpdateSensor() override;
};
