// The region's members and steps that only the maintenance edition has.
#include "entity/region.h"

#include "entity/deck.h"
#include "entity/entity_edition.h"
#include "entity/sensor.h"

namespace harq {

void Region::reassociateSensor()
{
    if (!deck_)
        return;
    // Dropping the old connections keeps a sensor that stays inside from
    // being connected once more per re-association.
    for (Sensor* sensor : qAsConst(sensors_))
        disconnect(sensor, nullptr, this, nullptr);
    sensors_.clear();
    for (Sensor* sensor : deck_->sensors())
        associateSensor(sensor);
}

void edition::followOutline(Region& region)
{
    region.reassociateSensor();
}

// Sensors have no cabin in this edition.
void edition::offerCabin(Region&, Sensor&) {}

} // namespace harq
