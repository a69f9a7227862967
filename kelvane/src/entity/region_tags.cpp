// The region's members and steps that only the edition with tags has.
#include "entity/region.h"

#include "entity/entity_edition.h"
#include "entity/sensor.h"

namespace harq {

void Region::addPoint(QPointF p)
{
    path_.append(p);
    emit regionPathChanged(path_);
}

// The host offers the sensors again itself after an outline changed.
void edition::followOutline(Region&) {}

void edition::offerCabin(Region& region, Sensor& sensor)
{
    if (region.type() == Region::CabinType)
        sensor.setCabin(&region);
}

} // namespace harq
