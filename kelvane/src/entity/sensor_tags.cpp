// The sensor's members and steps that only the edition with tags has.
#include "entity/sensor.h"

#include "entity/entity_edition.h"
#include "entity/region.h"
#include "entity/sensor_item.h"
#include "object_link.h"

namespace harq {

QString Sensor::nameAndCode() const
{
    return tr("%1[%2]").arg(name_, code_);
}

void Sensor::setCabin(Region* cabin)
{
    // A cabin may belong to another deck or to none, so only its own end is certain.
    kelvane::linkUntilDestroyed(this, cabin_, cabin);
}

void Sensor::onItemStateChanged(SensorItem* item)
{
    emit sensorStateChanged(this, item);
}

void edition::prepareItem(SensorItem& item)
{
    item.initCheck();
}

} // namespace harq
