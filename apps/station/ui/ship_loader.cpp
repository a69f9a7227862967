#include "ship_loader.h"

#include "ship.h"
#include "ship_reader.h"

#include "config/region_config.h"
#include "config/sensor_config.h"
#include "entity/deck.h"
#include "entity/equipment.h"
#include "entity/equipment_classifier.h"
#include "entity/neighbour.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/value_transform.h"
#include "entity/view_group.h"

#include <algorithm>

std::unique_ptr<Ship> ShipLoader::load(const QString& path)
{
    ShipReader reader;
    if (!reader.open(path)) {
        error_ = reader.error();
        return nullptr;
    }
    return load(reader);
}

std::unique_ptr<Ship> ShipLoader::load(ShipReader& reader)
{
    ShipData data;
    if (!reader.read(&ShipLoader::knownViewGroup, &data)) {
        error_ = reader.error();
        return nullptr;
    }
    error_.clear();
    auto ship = std::make_unique<Ship>();
    ship->setName(data.name);
    addDecks(data, *ship);
    addSensors(data, *ship);
    addEquipment(data, *ship);
    for (const ShipData::Team& team : data.teams)
        ship->addTeam({team.name, team.deck, team.position, ship->regionById(team.compartment)});
    for (const ShipData::Boundary& boundary : data.boundaries)
        ship->addBoundary(boundary);
    associate(*ship);
    ship->buildIndex();
    return ship;
}

bool ShipLoader::knownViewGroup(const QString& name)
{
    return SensorConfig::instance().viewGroupByName(name) != nullptr;
}

void ShipLoader::addDecks(const ShipData& data, Ship& ship)
{
    const RegionConfig& style = RegionConfig::instance();
    for (const ShipData::Deck& json : data.decks) {
        auto* deck = new harq::Deck(json.id);
        deck->setName(json.name);
        deck->setLevel(json.level);
        deck->setSvg(json.drawing);
        ship.addDeck(deck);
    }
    for (const ShipData::Compartment& json : data.compartments) {
        harq::Deck* deck = ship.deckById(json.deck);
        const auto typeGroup = style.srViewGroup(json.type);
        const int response = json.response >= 0 ? json.response : typeGroup ? typeGroup->responseType() : 0;
        auto* region = new harq::Region;
        region->setID(json.id);
        region->setName(json.name);
        region->setCode(json.code);
        region->setType(json.type);
        region->setRibs(json.ribs);
        region->setSide(json.side);
        region->setRegionPath(json.outline);
        region->setViewGroup(
            std::make_shared<harq::ViewGroup>(style.srName(json.type), style.srIconName(json.type), response));
        deck->addRegion(region);
        region->setDeck(deck);
    }
    for (const ShipData::Compartment& json : data.compartments) {
        harq::Region* region = ship.regionById(json.id);
        // Setting the centre empties the lists, so it comes first.
        region->neighbour()->setCenter(region);
        for (std::size_t d = 0; d < std::min(ShipData::kDirections, harq::directions()); ++d) {
            for (quint64 other : json.neighbours[d])
                region->neighbour()->addNeighbour(ship.regionById(other), harq::indexDirection(d));
        }
    }
}

void ShipLoader::addSensors(const ShipData& data, Ship& ship)
{
    const SensorConfig& style = SensorConfig::instance();
    for (const ShipData::Sensor& json : data.sensors) {
        auto sensor = std::make_unique<harq::Sensor>();
        sensor->setID(json.id);
        sensor->setName(json.name);
        sensor->setCode(json.code);
        sensor->setSystem(json.system);
        sensor->setDevice(json.device);
        sensor->setPos(json.position);
        sensor->setViewGroup(style.viewGroupByName(json.viewGroup));
        for (const ShipData::Item& entry : json.items) {
            auto* item = new harq::SensorItem;
            item->setTag(entry.tag);
            item->setConfirmTag(entry.confirmTag);
            if (entry.state)
                item->setIcon(entry.icons.at(0), entry.icons.at(1));
            item->setLowLow(entry.lowLow);
            item->setLow(entry.low);
            item->setHigh(entry.high);
            item->setHighHigh(entry.highHigh);
            item->setPrecisionWidth(entry.precision);
            if (!entry.transform.isEmpty())
                item->setValueTrans(new harq::ValueTransform(entry.transform));
            sensor->addItem(item);
        }
        ship.setCompartment(sensor.get(), ship.regionById(json.compartment));
        ship.deckById(json.deck)->addSensor(sensor.release());
    }
}

void ShipLoader::addEquipment(const ShipData& data, Ship& ship)
{
    for (const ShipData::Classifier& json : data.classifiers) {
        auto classifier = std::make_unique<harq::EquipmentClassifier>();
        classifier->setID(json.id);
        classifier->setName(json.name);
        classifier->setIcon(json.icon);
        classifier->setMoveable(json.moveable);
        classifier->setClassifier(json.bits);
        classifier->setSituation(json.situation);
        ship.addClassifier(std::move(classifier));
    }
    for (const ShipData::Equipment& json : data.equipment) {
        auto equipment = std::make_shared<harq::Equipment>();
        equipment->setID(json.id);
        equipment->setClassifier(ship.classifierById(json.classifier));
        equipment->setDeck(ship.deckById(json.deck));
        equipment->setPos(json.position);
        equipment->setCount(json.amount);
        equipment->setCondition(json.condition);
        equipment->setValidDate(json.validDate);
        equipment->setSpecification(json.specification);
        equipment->setCharge(json.charge);
        equipment->setController(json.controller);
        equipment->setMaintenance(json.maintenance);
        equipment->setComments(json.comments);
        if (json.compartment != 0)
            ship.setCompartment(equipment.get(), ship.regionById(json.compartment));
        ship.addEquipment(std::move(equipment));
    }
}

void ShipLoader::associate(Ship& ship)
{
    for (harq::Deck* deck : ship.decks()) {
        const std::vector<harq::Sensor*> sensors = deck->sensors();
        for (harq::Region* region : deck->regions()) {
            for (harq::Sensor* sensor : sensors)
                region->associateSensor(sensor);
        }
        // Every cabin claims every sensor offered to it, so after the offers the
        // last cabin holds them all; give each sensor back its own compartment.
        for (harq::Sensor* sensor : sensors)
            sensor->setCabin(ship.compartmentOf(sensor));
    }
}
