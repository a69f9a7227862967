#pragma once

#include "ship.h"

#include <QHash>
#include <QList>
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
class TeamTag;

namespace harq {
class Deck;
class Region;
class Sensor;
class ViewGroup;
}

/// Puts one deck of the ship on a deck scene: the drawing, then the layers in
/// the order they stack: compartments (region reaction layer), damage
/// boundaries, sensors (so boundary lines never cover a sensor's code),
/// equipment, teams, scan line. Keeps what the operator changed by hand (damage
/// marked, teams deployed or withdrawn) across changes of deck.
///
/// The compartment under the pointer is outlined rather than tinted: the
/// library's hover colouring would paint over a compartment's damage colour,
/// so the compartments take no hover events and the plan follows the pointer
/// itself (trackPointer()).
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

    /// The pointer is at the scene point \a pos: outlines the compartment there
    /// and emits enterCompartment / leaveCompartment as it changes.
    void trackPointer(QPointF pos);

    /// Marks \a region's compartment damaged by hand, shown as \a response.
    void damageByHand(ReactionRegion* region, int response);
    /// Marks \a region's compartment back to normal by hand.
    void recoverByHand(ReactionRegion* region);

    /// Places a tag for the team \a name at \a pos in \a compartment of the
    /// deck on show, booking the team out of the team catalogue.
    TeamTag* deployTeam(const QString& name, QPointF pos, harq::Region* compartment);
    /// Removes \a tag from the plan, booking its team back.
    void withdrawTeam(TeamTag* tag);

    /// Marks \a compartment, on whichever deck, damaged by hand as \a response;
    /// its deck shows it now or when shown. damageByHand() comes here.
    void damageCompartment(harq::Region* compartment, int response);
    /// Puts \a compartment back to normal by hand; recoverByHand() comes here.
    void recoverCompartment(harq::Region* compartment);
    /// The response \a compartment is marked with by hand; 0 when it is not.
    int handDamageOf(const harq::Region* compartment) const;
    /// Adds \a team on its deck, with a tag if that deck is on show; deployTeam() comes here.
    void addTeam(const Ship::Team& team);
    /// Removes the team of \a team's name standing on its deck within half a
    /// unit of its position, with its tag; false when there is none.
    bool removeTeam(const Ship::Team& team);
    /// How many teams named \a name are free: the catalogue's count less those
    /// standing on any deck. The catalogue's own count of available teams
    /// follows the tags of the deck shown only, so it cannot tell.
    int teamsAvailable(const QString& name) const;
    /// Every team on the plan, on every deck.
    const QList<Ship::Team>& teams() const { return teams_; }

    /// Records that the crew set the ship file's boundary \a id (or lifted it,
    /// \a set false), on every deck it is drawn on, where a set boundary has a
    /// green band under its segments; emits boundarySetChanged() when that
    /// changes. An id the ship file does not hold is ignored.
    void setBoundarySet(quint64 id, bool set);
    bool isBoundarySet(quint64 id) const { return set_boundaries_.contains(id); }
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
    /// What the operator (or a shared incident) changed by hand, after the change.
    void damagedByHand(harq::Region* compartment, int response);
    void recoveredByHand(harq::Region* compartment);
    void teamDeployed(const Ship::Team& team);
    void teamWithdrawn(const Ship::Team& team);
    void boundarySetChanged(quint64 id, bool set);

private:
    void addCompartments();
    void addSensors();
    void addBoundaries();
    void addEquipment();
    void addTeams();
    void addScanLine();
    TeamTag* placeTeam(const Ship::Team& team);
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
    // Teams on every deck: the ship's stations, changed by the operator.
    QList<Ship::Team> teams_;
    QSet<quint64> set_boundaries_;
    // The own view group of each compartment damaged by hand (null if it had
    // none), put back on recovery.
    QHash<harq::Region*, std::shared_ptr<harq::ViewGroup>> damaged_by_hand_;
};
