#pragma once

#include "entity/deck.h"

namespace harq {

class Region;
class Sensor;
class SensorItem;

// Where a model unit shared by both editions does one step more in one edition,
// and that step calls a member only that edition has, it calls one of these.
// kelvaned defines them in the entity/*_tags.cpp units, the maintenance edition
// in maintenance/*_maintenance.cpp; they are internal to the library.
namespace edition {

/// Deck::addSensor: kelvaned gives the sensor its back-link to \a deck.
void placeSensor(Sensor& sensor, Deck* deck);
/// Deck::clearRegion: kelvaned unlinks \a sensors from the cabins among \a regions,
/// which are about to go.
void releaseCabins(const Deck::Sensors& sensors, const Deck::Regions& regions);
/// Region::setRegionPath: the maintenance edition offers the deck's sensors again.
void followOutline(Region& region);
/// Region::associateSensor: in kelvaned a cabin becomes the sensor's cabin.
void offerCabin(Region& region, Sensor& sensor);
/// Sensor::addItem: kelvaned classifies the item before the sensor keeps it.
void prepareItem(SensorItem& item);

} // namespace edition

} // namespace harq
