// The deck view's members that only the edition with tags has.
#include "view/deck_view.h"

QPointF DeckView::viewCenter() const
{
    const QPoint center(width() / 2, height() / 2);
    // The centre is a pixel of the widget; the viewport sits inside its frame.
    return scene() ? mapToScene(viewport()->mapFrom(this, center)) : QPointF(center);
}
