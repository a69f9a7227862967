#pragma once

#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/view_group.h"

#include <QPointF>
#include <QString>

// Builders shared by the model tests.
namespace model_test {

/// A value item on \a tag, normal strictly between 0 and 10, mid-band once added.
inline harq::SensorItem* valueItem(const QString& tag)
{
    auto* item = new harq::SensorItem;
    item->setTag(tag);
    item->setLow(0.0);
    item->setHigh(10.0);
#ifdef KELVANE_MAINTENANCE
    item->initCheck(); // adding does not check items in this edition
#endif
    return item;
}

/// A state item on \a tag (normal at 0, abnormal at 1).
inline harq::SensorItem* stateItem(const QString& tag)
{
    auto* item = new harq::SensorItem;
    item->setTag(tag);
    item->setIcon("ok.png", "alarm.png");
#ifdef KELVANE_MAINTENANCE
    item->initCheck();
#endif
    return item;
}

/// A sensor at \a pos in view group (name, group, response) with one value item on \a tag.
inline harq::Sensor* sensorAt(QPointF pos, int response, const QString& tag, const QString& group = "G")
{
    auto* sensor = new harq::Sensor;
    sensor->setPos(pos);
    sensor->setViewGroup(new harq::ViewGroup("vg", group, response));
    sensor->addItem(valueItem(tag));
    return sensor;
}

/// Drives the first item of \a sensor to an abnormal or a normal value.
inline void setAbnormal(harq::Sensor& sensor, bool abnormal, int ix = 0)
{
    harq::SensorItem* item = sensor.itemAt(ix);
    item->onPrimaryValueChanged(abnormal ? item->high() + 1.0 : (item->low() + item->high()) / 2 + 0.25);
}

} // namespace model_test
