// The deck's members and steps that only the edition with tags has.
#include "entity/deck.h"

#include "entity/entity_edition.h"
#include "entity/region.h"
#include "entity/sensor.h"

#include <algorithm>

namespace harq {

Region* Deck::cabinAtPos(QPointF pos) const
{
    const auto found = std::find_if(regions_.cbegin(), regions_.cend(), [pos](const auto& region) {
        return region->type() == Region::CabinType && region->containsPoint(pos);
    });
    return found != regions_.cend() ? found->get() : nullptr;
}

void Deck::onSensorStateChanged()
{
    recount();
}

void edition::placeSensor(Sensor& sensor, Deck* deck)
{
    sensor.setDeck(deck);
}

void edition::releaseCabins(const Deck::Sensors& sensors, const Deck::Regions& regions)
{
    // Sensors must not keep pointing at cabins that are about to go.
    for (const auto& sensor : sensors) {
        const auto owned = [&sensor](const std::shared_ptr<Region>& region) {
            return region.get() == sensor->cabin();
        };
        if (sensor->cabin() && std::any_of(regions.cbegin(), regions.cend(), owned))
            sensor->setCabin(nullptr);
    }
}

} // namespace harq
