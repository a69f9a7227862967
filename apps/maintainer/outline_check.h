#pragma once

#include "ship_data.h"

#include <QCoreApplication>
#include <QList>
#include <QPolygonF>
#include <QString>

/// Whether a compartment outline fits its deck: inside the hull and clear of
/// the deck's other compartments. An outline that leaves the hull or covers a
/// neighbour would have the station colour the sea or the neighbour when the
/// compartment is in alarm.
///
/// The hull is the drawing's polygon of class "hull" (in the drawing's own
/// coordinates, without a transform) when it has one, else the drawing's whole
/// extent. Both tests allow kTolerance drawing units, so that a shared wall
/// and coordinates rounded by hand or by another tool pass.
class OutlineCheck
{
    Q_DECLARE_TR_FUNCTIONS(OutlineCheck)

public:
    /// Drawing units an outline may stray across the hull or into a neighbour.
    static constexpr qreal kTolerance = 0.5;

    /// The hull of the deck drawing at \a drawing in scene coordinates; empty
    /// (nothing is checked against it) when the drawing cannot be rendered.
    static QPolygonF hullOf(const QString& drawing);

    /// Empty when \a outline of \a compartment fits \a hull (skipped when empty)
    /// and clears the other entries of \a deckCompartments; otherwise why not.
    static QString problem(quint64 compartment, const QPolygonF& outline, const QPolygonF& hull,
                           const QList<ShipData::Compartment>& deckCompartments);
};
