#pragma once

#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/view_group.h"
#include "kelvane_edition.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>

// Builders shared by the model tests.
namespace model_test {

/// A value item on \a tag, normal strictly between 0 and 10, mid-band once added.
inline harq::SensorItem* valueItem(const QString& tag)
{
    auto* item = new harq::SensorItem;
    item->setTag(tag);
    item->setLow(0.0);
    item->setHigh(10.0);
    if constexpr (kelvane::kMaintenanceEdition)
        item->initCheck(); // adding does not check items in this edition
    return item;
}

/// A state item on \a tag (normal at 0, abnormal at 1).
inline harq::SensorItem* stateItem(const QString& tag)
{
    auto* item = new harq::SensorItem;
    item->setTag(tag);
    item->setIcon("ok.png", "alarm.png");
    if constexpr (kelvane::kMaintenanceEdition)
        item->initCheck();
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

/// A 10 by 10 outline at the origin.
inline const QPolygonF square(QVector<QPointF>{QPointF(0, 0), QPointF(10, 0), QPointF(10, 10), QPointF(0, 10)});

/// A region of \a type with \a id, outline and a view group answering \a response.
inline harq::Region* regionOf(int type, quint64 id, const QPolygonF& outline,
                              int response = harq::DamageResponse::FIRE)
{
    auto* region = new harq::Region;
    region->setType(type);
    region->setID(id);
    region->setRegionPath(outline);
    region->setViewGroup(new harq::ViewGroup("r", "R", response));
    return region;
}

// Records damage, recover and alarm counts in the order a listener sees them.
class RegionListener : public QObject
{
public:
    explicit RegionListener(harq::Region& region)
    {
        connect(&region, &harq::Region::damage, this, [this, &region](harq::Region* self) {
            EXPECT_EQ(self, &region);
            order << "damage";
        });
        connect(&region, &harq::Region::recover, this, [this, &region](harq::Region* self) {
            EXPECT_EQ(self, &region);
            order << "recover";
        });
        connect(&region, &harq::Region::alarmChanged, this,
                [this](int alarms) { order << QString("alarm %1").arg(alarms); });
    }

    QStringList take()
    {
        QStringList seen;
        seen.swap(order);
        return seen;
    }

private:
    QStringList order;
};

} // namespace model_test
