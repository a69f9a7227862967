#pragma once

#include "incident_state.h"
#include "ship.h"

#include <QHash>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QSet>

#include <memory>

class DamageBoundary;
class DeckScene;
class QGraphicsItem;
class QGraphicsPathItem;
class ReactionRegion;
class SensorLayer;

namespace harq {
class Deck;
class Region;
class Sensor;
class ViewGroup;
}

/// Puts one deck of the ship on a deck scene: the drawing, then the layers in
/// the order they stack: compartments (region reaction layer), damage
/// boundaries, sensors (so boundary lines never cover a sensor's code),
/// equipment, teams, scan line. Shows the incident state (damage marked by
/// hand, teams where they stand, boundaries set) on whichever deck is shown,
/// and follows its changes; the incident commands change it, not the plan.
///
/// The compartment under the pointer is outlined rather than tinted: the
/// library's hover colouring would paint over a compartment's damage colour,
/// so the compartments take no hover events and the plan follows the pointer
/// itself (trackPointer()).
class DeckPlan : public QObject
{
    Q_OBJECT

public:
    DeckPlan(DeckScene* scene, const Ship& ship, const IncidentState& incident, QObject* parent = nullptr);

    /// Replaces whatever the scene shows by \a deck.
    void show(harq::Deck* deck);
    harq::Deck* deck() const { return deck_; }

    /// Shows or hides the sensors of the view group \a group, on this deck and on
    /// every deck shown after it.
    void setSensorGroupVisible(const QString& group, bool visible);

    /// The pointer is at the scene point \a pos: outlines the compartment there
    /// and emits enterCompartment / leaveCompartment as it changes.
    void trackPointer(QPointF pos);

    /// The incident state shown.
    const IncidentState& incident() const { return incident_; }

    /// The ship file's id of the boundary \a item belongs to (the boundary or
    /// one of its segments); 0 for any other item.
    static quint64 boundaryIdOf(const QGraphicsItem* item);
    /// The sensor whose graphic \a item is or belongs to (a part or a badge of
    /// it); null for any other item.
    static harq::Sensor* sensorOf(const QGraphicsItem* item);

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
    void placeTeam(const IncidentState::Team& team);
    void removeTeamTag(const IncidentState::Team& team);
    void showDamage(quint64 compartment, int response);
    void showBoundary(quint64 id);
    /// Tags \a shown, the boundary drawn on this deck for the ship file's
    /// boundary \a id, and puts a band under it while the crew has it set.
    void showWhetherSet(DamageBoundary* shown, quint64 id);
    ReactionRegion* reactionOf(const harq::Region* compartment) const;

    DeckScene* scene_;
    const Ship& ship_;
    harq::Deck* deck_ = nullptr;
    // Owned by the scene; gone with the next deck.
    QPointer<SensorLayer> sensors_;
    // Owned by the scene, recreated with each deck.
    QGraphicsPathItem* outline_ = nullptr;
    harq::Region* pointed_ = nullptr;
    QSet<QString> hidden_groups_;
    const IncidentState& incident_;
    // The own view group of each compartment damaged by hand (null if it had
    // none), put back on recovery.
    QHash<harq::Region*, std::shared_ptr<harq::ViewGroup>> damaged_by_hand_;
};
