// The deck's members and steps that only the maintenance edition has.
#include "entity/deck.h"

#include "entity/entity_edition.h"

namespace harq {

void Deck::onSensorStateChanged(Sensor*)
{
    recount();
}

// Sensors have no back-links to decks or cabins in this edition.
void edition::placeSensor(Sensor&, Deck*) {}

void edition::releaseCabins(const Deck::Sensors&, const Deck::Regions&) {}

} // namespace harq
