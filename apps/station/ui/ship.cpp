#include "ship.h"

#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"

#include <QSet>

Ship::Ship() = default;

Ship::~Ship() = default;

void Ship::addDeck(harq::Deck* deck)
{
    decks_.emplace_back(deck);
}

std::vector<harq::Deck*> Ship::decks() const
{
    std::vector<harq::Deck*> out;
    out.reserve(decks_.size());
    for (const auto& deck : decks_)
        out.push_back(deck.get());
    return out;
}

harq::Deck* Ship::deckById(quint64 id) const
{
    for (const auto& deck : decks_) {
        if (deck->id() == id)
            return deck.get();
    }
    return nullptr;
}

void Ship::setCompartment(const QObject* thing, harq::Region* compartment)
{
    compartments_.insert(thing, compartment);
}

harq::Region* Ship::compartmentOf(const QObject* thing) const
{
    return compartments_.value(thing, nullptr);
}

harq::Region* Ship::regionById(quint64 id) const
{
    for (const auto& deck : decks_) {
        if (harq::Region* region = deck->regionByID(id))
            return region;
    }
    return nullptr;
}

void Ship::addClassifier(std::unique_ptr<harq::EquipmentClassifier> classifier)
{
    classifiers_.push_back(std::move(classifier));
}

harq::EquipmentClassifier* Ship::classifierById(quint64 id) const
{
    for (const auto& classifier : classifiers_) {
        if (classifier->id() == id)
            return classifier.get();
    }
    return nullptr;
}

void Ship::addEquipment(std::shared_ptr<harq::Equipment> equipment)
{
    equipment_.push_back(std::move(equipment));
}

std::vector<std::shared_ptr<harq::Equipment>> Ship::equipmentOn(const harq::Deck* deck) const
{
    std::vector<std::shared_ptr<harq::Equipment>> out;
    for (const auto& equipment : equipment_) {
        if (equipment->deck() == deck)
            out.push_back(equipment);
    }
    return out;
}

QList<Ship::Team> Ship::teamsOn(quint64 deck) const
{
    QList<Team> out;
    for (const Team& team : teams_) {
        if (team.deck == deck)
            out.append(team);
    }
    return out;
}

QStringList Ship::dataPointNames() const
{
    QStringList names;
    QSet<QString> seen;
    const auto add = [&](const QString& name) {
        if (!name.isEmpty() && !seen.contains(name)) {
            seen.insert(name);
            names.append(name);
        }
    };
    for (const auto& deck : decks_) {
        for (harq::Sensor* sensor : deck->sensors()) {
            for (int i = 0; i < sensor->itemCount(); ++i) {
                add(sensor->itemAt(i)->tag());
                add(sensor->itemAt(i)->confirmTag());
            }
        }
    }
    return names;
}

void Ship::buildIndex()
{
    index_.clear();
    for (const auto& deck : decks_)
        index_.addDeck(*deck);
}
