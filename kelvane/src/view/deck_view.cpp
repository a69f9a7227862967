#include "view/deck_view.h"

#include "view/round_half_up.h"
#include "view/scanline_strip.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>

DeckView::DeckView(QWidget* parent)
    : QGraphicsView(parent)
    , deck_(tr("NA"))
{
    // Move events must arrive without a pressed button to report the pointer.
    viewport()->setMouseTracking(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    // Blinking sensors are small and scattered: repaint their bounding regions,
    // not the rectangle around all of them.
    setViewportUpdateMode(QGraphicsView::SmartViewportUpdate);
    new ScanlineStrip(*viewport());
}

DeckView::DeckView(QGraphicsScene* scene, QWidget* parent)
    : DeckView(parent)
{
    setScene(scene);
}

DeckView::~DeckView() = default;

void DeckView::scaleScene(QPointF center, qreal factor)
{
    if (!scene())
        return;
    factor_ = scaleFactor();
    const qreal perfect = perfectFactor(rect(), sceneRect());
    // An empty scene or a collapsed widget has no fitted scale to zoom against,
    // and a degenerate factor would leave a transform that cannot be inverted.
    if (!(perfect > 0.0) || !qIsFinite(perfect) || !(factor > 0.0) || !qIsFinite(factor))
        return;
    const qreal lo = min_factor_ * perfect;
    const qreal hi = max_factor_ * perfect;

    if (qFuzzyCompare(factor, 1.0))
        return;
    if ((factor < 1.0 && factor_ < lo) || (factor > 1.0 && factor_ > hi))
        return;

    const qreal old = factor_;
    factor_ *= factor;
    if (factor_ < lo) {
        factor_ = lo;
        factor = lo / old;
    } else if (factor_ > hi) {
        factor_ = hi;
        factor = hi / old;
    }
    // Already on the limit: the measured scale may differ from it in the last bits.
    if (qFuzzyCompare(factor, 1.0))
        return;

    scale(factor, factor);
    centerOn(center);
    emit scaleChanged(factor_);
}

void DeckView::scaleSceneTo(const QRectF& rc)
{
    // The same margin, derived from the width, on all four sides.
    const qreal margin = (rc.width() / min_factor_ - rc.width()) * 0.5;
    fitInView(rc.adjusted(-margin, -margin, margin, margin), Qt::KeepAspectRatio);
}

void DeckView::fitDeck()
{
    if (scene())
        fitInView(sceneRect(), Qt::KeepAspectRatio);
}

void DeckView::changeDeck(const QString& deck)
{
    deck_ = deck.isEmpty() ? tr("NA") : deck;
    fitDeck();
    emit deckChanged(deck_);
}

void DeckView::moveCenter(const QPointF& det)
{
    // Scrolling by whole view pixels keeps repeated moves (a drag) free of drift;
    // centring on a point mapped back from the view loses up to a pixel per call.
    const QPointF pixels = transform().map(det) - transform().map(QPointF());
    const int dx = harq::roundHalfUp(isRightToLeft() ? -pixels.x() : pixels.x());
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + harq::roundHalfUp(pixels.y()));
}

qreal DeckView::scaleFactor() const
{
    return transform().mapRect(QRectF(0, 0, 1, 1)).width();
}

qreal DeckView::perfectFactor(const QRect& view, const QRectF& rc) const
{
    const QRectF area(view);
    return qMin(area.width() / rc.width(), area.height() / rc.height());
}

void DeckView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && shift_pressed_)
        emit switchView();
    QGraphicsView::mouseDoubleClickEvent(event);
}

void DeckView::resizeEvent(QResizeEvent* event)
{
    fitDeck();
    QGraphicsView::resizeEvent(event);
}
