// The complex view's context menu request and touch gestures (edition with tags).
#include "view/deck_view_complex.h"

#include "view/deck_view_complex_edition.h"

#include <QContextMenuEvent>
#include <QGesture>
#include <QGestureEvent>

void DeckViewComplexEdition::grabTouchGestures(DeckViewComplex& view)
{
    const Qt::GestureFlags flags =
        Qt::DontStartGestureOnChildren | Qt::ReceivePartialGestures | Qt::IgnoredGesturesPropagateToParent;
    view.grabGesture(Qt::PanGesture, flags);
    view.grabGesture(Qt::PinchGesture, flags);
    view.grabGesture(Qt::TapGesture, flags);
}

void DeckViewComplex::contextMenuEvent(QContextMenuEvent* event)
{
    emit resquestContextMenu(event);
    if (!event->isAccepted())
        DeckView::contextMenuEvent(event);
}

bool DeckViewComplex::event(QEvent* event)
{
    if (event->type() == QEvent::Gesture)
        return gestureEvent(static_cast<QGestureEvent*>(event));
    return DeckView::event(event);
}

bool DeckViewComplex::gestureEvent(QGestureEvent* event)
{
    if (QGesture* tap = event->gesture(Qt::TapGesture))
        tapTriggered(static_cast<QTapGesture*>(tap));
    else if (QGesture* pan = event->gesture(Qt::PanGesture))
        panTriggered(static_cast<QPanGesture*>(pan));
    if (QGesture* pinch = event->gesture(Qt::PinchGesture))
        pinchTriggered(static_cast<QPinchGesture*>(pinch));
    return true;
}

void DeckViewComplex::panTriggered(QPanGesture* gesture)
{
    const bool moving = gesture->state() == Qt::GestureStarted || gesture->state() == Qt::GestureUpdated;
    showCursor(moving ? Qt::SizeAllCursor : Qt::ArrowCursor);
    moveCenter(gesture->delta());
}

void DeckViewComplex::pinchTriggered(QPinchGesture* gesture)
{
    if (!(gesture->changeFlags() & QPinchGesture::ScaleFactorChanged))
        return;
    // The gesture reports its centre on the screen; zoom about the scene point there.
    const QPoint onViewport = viewport()->mapFromGlobal(gesture->centerPoint().toPoint());
    scaleScene(mapToScene(onViewport), gesture->scaleFactor());
}

void DeckViewComplex::tapTriggered(QTapGesture* gesture)
{
    if (gesture->state() == Qt::GestureFinished)
        fitDeck();
}
