// The sensor's members and steps that only the maintenance edition has.
#include "entity/sensor.h"

#include "entity/entity_edition.h"
#include "entity/view_group.h"

namespace harq {

QString Sensor::viewGroupGroup() const
{
    return view_group_ ? view_group_->group() : QString();
}

// The item states which sensor flipped, not which of its items.
void Sensor::onItemStateChanged(SensorItem*)
{
    emit sensorStateChanged(this);
}

// The host classifies the items once their icons and limits are set.
void edition::prepareItem(SensorItem&) {}

} // namespace harq
