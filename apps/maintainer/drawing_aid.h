#pragma once

#include "ship_document.h"

#include "maintenance/maintenance_command_state.h"

#include <QObject>
#include <QPointer>
#include <QPolygonF>

#include <optional>

class BoundaryLine;
class DeckViewComplex;
class QGraphicsPathItem;
class QLabel;
class QStatusBar;

/// The maintainer's drawing help, as drawing tools give it: in the status bar
/// (there from the start) a hint for the task under way and the pointer's
/// coordinates on the plan; snapping of drawn corners to the compartment corners
/// of the deck on show; and a halo around the chosen damage boundary.
///
/// Snapping is off until setSnapping(true). When on, a corner drawn within
/// kSnapPixels screen pixels of a compartment corner takes that corner's
/// coordinates exactly; the readout names the corner the pointer would snap to.
class DrawingAid : public QObject
{
    Q_OBJECT

public:
    /// Reach of snapping, in pixels on screen.
    static constexpr int kSnapPixels = 8;

    DrawingAid(DeckViewComplex* view, QStatusBar* bar, const ShipDocument& document, QObject* parent = nullptr);

    /// The deck on show, whose compartment corners snapping uses.
    void setDeck(quint64 deck) { deck_ = deck; }
    void setSnapping(bool on) { snapping_ = on; }
    /// \a outline with every corner within reach of a compartment corner moved onto it;
    /// unchanged while snapping is off.
    QPolygonF snapped(const QPolygonF& outline) const;
    /// Puts the halo around the boundary of \a line, taking it from the one chosen
    /// before; null chooses none. The halo goes with the segment.
    void highlight(BoundaryLine* line);

public slots:
    void onStateChanged(MaintenanceCommandState state);

protected:
    /// Follows the pointer over the plan; never takes the event.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The compartment corner within reach of \a point, if any.
    std::optional<QPointF> cornerNear(QPointF point) const;

    DeckViewComplex* view_;
    const ShipDocument& document_;
    quint64 deck_ = 0;
    bool snapping_ = false;
    QLabel* hint_;
    QLabel* position_;
    QPointer<BoundaryLine> highlighted_;
    QGraphicsPathItem* halo_ = nullptr;
};
