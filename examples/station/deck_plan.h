#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>

class DeckScene;
class ReactionRegion;
class SensorLayer;
class Ship;

namespace harq {
class Deck;
class Region;
}

/// Puts one deck of the ship on a deck scene: the drawing, then the layers in
/// the order they stack: compartments (region reaction layer), sensors, damage
/// boundaries, equipment, teams, scan line.
class DeckPlan : public QObject
{
    Q_OBJECT

public:
    DeckPlan(DeckScene* scene, const Ship& ship, QObject* parent = nullptr);

    /// Replaces whatever the scene shows by \a deck.
    void show(harq::Deck* deck);
    harq::Deck* deck() const { return deck_; }

    /// Shows or hides the sensors of the view group \a group, on this deck and on
    /// every deck shown after it.
    void setSensorGroupVisible(const QString& group, bool visible);

signals:
    void enterCompartment(harq::Region* region);
    void leaveCompartment(harq::Region* region);
    void compartmentDoubleClicked(harq::Region* region);

private:
    void addCompartments();
    void addSensors();
    void addBoundaries();
    void addEquipment();
    void addTeams();
    void addScanLine();

    DeckScene* scene_;
    const Ship& ship_;
    harq::Deck* deck_ = nullptr;
    // Owned by the scene; gone with the next deck.
    QPointer<SensorLayer> sensors_;
    QSet<QString> hidden_groups_;
};
