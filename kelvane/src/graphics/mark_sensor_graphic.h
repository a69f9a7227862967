#pragma once

#include "item_type.h"
#include "graphics/sensor_graphic.h"

#include <QBrush>

class QGraphicsRectItem;

/// Sensor graphic with a bar under the icon whose colours tell which items of
/// the sensor are abnormal: green while the sensor is normal, otherwise one
/// band per abnormal item in the sensor style's colour for the item's position.
/// Only the bar blinks (in the edition with alarm animations).
///
/// The bar, the mark, is 80 % as wide as the icon and centred under it, a fifth
/// of the icon's height high, with a small gap below the icon. Several bands
/// share the bar in equal parts, in item order, with hard edges.
class KELVANE_EXPORT MarkSensorGraphic : public SensorGraphic
{
    Q_OBJECT

public:
    /// Item type of the sensor graphic with a mark, for qgraphicsitem_cast().
    enum { Type = kelvane::MarkSensorGraphicType };

    /// An unbound graphic without mark, child item of \a parent (none when
    /// null); it shows nothing before setSensor().
    explicit MarkSensorGraphic(QGraphicsItem* parent = nullptr);

    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }
    /// The icon, the label and the mark.
    QRectF boundingRect() const override;

protected:
    /// Builds icon and label as the base does, then the mark under the icon
    /// (created on the first call, reused after), and colours it.
    void initSensor() override;
    /// Colours the mark: green while the sensor is normal; one abnormal item
    /// gives a solid bar in the style's state colour for that item's position
    /// (its index among the sensor's items), several give one band each. A
    /// sensor that is abnormal without an abnormal item shows green.
    void doUpdateSensor() override;

private:
    QGraphicsRectItem* mark_ = nullptr;
    /// The mark's brush for one abnormal item, kept for the next alarm.
    QBrush alarm_brush_;
    /// boundingRect() as of the last initSensor().
    QRectF bounds_;

    // What only one edition has.
#ifndef KELVANE_MAINTENANCE
protected:
    /// The mark, so only the bar blinks.
    QGraphicsItem* animationItem() override;
#endif
};
