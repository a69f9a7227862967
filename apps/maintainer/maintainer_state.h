#pragma once

#include "ship_document.h"

#include <QList>
#include <QPolygonF>

/// What the maintainer's edits change, as one value: the sensor placements and
/// compartment outlines of the document, and the damage boundaries on the decks.
/// The undo stack keeps one before and after each edit.
struct MaintainerState
{
    /// A master boundary and its copies. The record holds the id (0 until
    /// saved), the type, the master's deck and outline, and the copies' decks;
    /// each copy keeps its own outline, which may differ from the master's.
    struct Family {
        ShipDocument::Boundary record;
        QList<QPolygonF> copyOutlines; ///< parallel to record.copies
    };

    ShipDocument::Placement placement;
    QList<Family> boundaries;
};
