// The complex view while the maintainer commands (maintenance edition).
#include "view/deck_view_complex.h"

#include "view/deck_view_complex_edition.h"

// The maintainer works with mouse and keyboard.
void DeckViewComplexEdition::grabTouchGestures(DeckViewComplex&) {}

void DeckViewComplex::onMaintenanceStateChanged(MaintenanceCommandState state)
{
    const bool drawing = state == PATH || state == NEXT_POINT;
    const bool commanding = drawing || state == POSITIONING;
    keep_in_view_ = commanding;
    commanding_ = commanding;
    if (commanding)
        setFocus(Qt::OtherFocusReason);
    showCursor(!commanding ? Qt::ArrowCursor : drawing ? Qt::CrossCursor : Qt::ClosedHandCursor);
}
