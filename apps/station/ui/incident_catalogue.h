#pragma once

#include "incident_state.h"
#include "incident_tracker.h"

#include <QCoreApplication>

class AlarmFeed;
class Ship;

/// What the console's incident core needs to know of the ship and of the
/// display library, in the core's terms: ids, places as the history names
/// them, the team catalogue and the ship's own team stations.
class IncidentCatalogue
{
    Q_DECLARE_TR_FUNCTIONS(IncidentCatalogue)

public:
    /// Places of \a ship's compartments and boundaries, and its deck ids.
    static IncidentTracker::Catalogue of(const Ship& ship);
    /// The team catalogue loaded, each type with its size.
    static QVector<IncidentState::TeamType> teamTypes();
    /// The ids of \a ship's damage boundaries.
    static QSet<quint64> boundaryIds(const Ship& ship);
    /// Puts \a ship's own team stations on the first units of their types.
    static void placeStations(const Ship& ship, IncidentState& state);
    /// What alarm \a id's item reads now (\a feed tells which item it is).
    static IncidentTracker::Reading read(const AlarmFeed& feed, int id);
};
