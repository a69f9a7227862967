#pragma once

#include "item_type.h"
#include "graphics/sensor_graphic.h"

/// The plain sensor graphic: its state shows in the tool tip and, while the
/// sensor is abnormal, through the blinking of the whole graphic (in the
/// maintenance edition, which has no alarm animation, only in the tool tip).
class KELVANE_EXPORT CompoundSensorGraphic : public SensorGraphic
{
    Q_OBJECT

public:
    /// Item type of the plain sensor graphic, for qgraphicsitem_cast().
    enum { Type = kelvane::CompoundSensorGraphicType };

    /// An unbound graphic, child item of \a parent (none when null); it shows
    /// nothing before setSensor().
    explicit CompoundSensorGraphic(QGraphicsItem* parent = nullptr);

    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }

protected:
    /// Does nothing: the base class already refreshes the tool tip (and the
    /// alarm animation, in the edition that has one).
    void doUpdateSensor() override;
};
