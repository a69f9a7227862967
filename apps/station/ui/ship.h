#pragma once

#include "ship_data.h"

#include "entity/deck.h"
#include "entity/equipment.h"
#include "entity/equipment_classifier.h"
#include "entity/sensor_item_index.h"

#include <QHash>
#include <QList>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace harq {
class Region;
class Sensor;
}

/// The ship as the station knows it: the model's decks with their sensors and
/// compartments, the equipment, the teams at their stations and the damage
/// boundaries. Built by ShipLoader; owns everything it hands out.
class Ship
{
public:
    /// A team waiting at its station.
    struct Team {
        QString name;
        quint64 deck = 0;
        QPointF position;
        harq::Region* compartment = nullptr;
    };

    /// A damage boundary drawn on one deck and repeated on others, as the ship file holds it.
    using Boundary = ShipData::Boundary;

    Ship();
    ~Ship();
    Ship(const Ship&) = delete;
    Ship& operator=(const Ship&) = delete;

    const QString& name() const { return name_; }
    void setName(const QString& name) { name_ = name; }

    /// Takes ownership of \a deck; decks keep the order they were added in.
    void addDeck(harq::Deck* deck);
    std::vector<harq::Deck*> decks() const;
    harq::Deck* deckById(quint64 id) const;

    /// Records which compartment a sensor or a piece of equipment is in (the ship file says so).
    void setCompartment(const QObject* thing, harq::Region* compartment);
    harq::Region* compartmentOf(const QObject* thing) const;
    harq::Region* regionById(quint64 id) const;

    void addClassifier(std::unique_ptr<harq::EquipmentClassifier> classifier);
    harq::EquipmentClassifier* classifierById(quint64 id) const;
    const std::vector<std::unique_ptr<harq::EquipmentClassifier>>& classifiers() const { return classifiers_; }

    void addEquipment(std::shared_ptr<harq::Equipment> equipment);
    std::vector<std::shared_ptr<harq::Equipment>> equipmentOn(const harq::Deck* deck) const;

    void addTeam(const Team& team) { teams_.append(team); }
    QList<Team> teamsOn(quint64 deck) const;

    void addBoundary(const Boundary& boundary) { boundaries_.append(boundary); }
    const QList<Boundary>& boundaries() const { return boundaries_; }

    /// Every tag and acknowledgement tag of every sensor item, each once.
    QStringList dataPointNames() const;

    /// Builds the name index; call once the decks are complete.
    void buildIndex();
    const harq::SensorItemIndex& index() const { return index_; }
    /// Hands a received value to the items that follow the point, through the
    /// index; returns how many took it. The data link's route.
    std::function<int(const QString& name, double value)> valueRoute() const
    {
        return [this](const QString& name, double value) { return index_.dispatch(name, value); };
    }

private:
    // Members are destroyed bottom-up: the index and the equipment point into
    // the decks and classifiers above them.
    QString name_;
    std::vector<std::unique_ptr<harq::Deck>> decks_;
    QHash<const QObject*, harq::Region*> compartments_;
    std::vector<std::unique_ptr<harq::EquipmentClassifier>> classifiers_;
    // Shared with the equipment tags on show.
    std::vector<std::shared_ptr<harq::Equipment>> equipment_;
    QList<Team> teams_;
    QList<Boundary> boundaries_;
    harq::SensorItemIndex index_;
};
