#include "view/deck_view_complex.h"

#include "view/deck_view_complex_edition.h"
#include "view/round_half_up.h"
#include "view/zoom_preview.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>

namespace {

constexpr qreal kMinZoom = 0.9;
constexpr qreal kMaxZoom = 20.0;
constexpr qreal kDefaultZoomLimit = 1.0;
constexpr qreal kWheelZoomStep = 1.2;
constexpr qreal kWheelNotch = 120.0;
constexpr int kWheelPanPixels = 15;

// The modifier keys a user holds; the keypad flag is not one of them.
constexpr Qt::KeyboardModifiers kHeldModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

Qt::KeyboardModifier modifierOfKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
        return Qt::ShiftModifier;
    case Qt::Key_Control:
        return Qt::ControlModifier;
    case Qt::Key_Alt:
        return Qt::AltModifier;
    case Qt::Key_Meta:
        return Qt::MetaModifier;
    default:
        return Qt::NoModifier;
    }
}

// The modifiers held once the event has taken effect. Qt reports a modifier
// key's own press without its modifier and its release with it.
Qt::KeyboardModifiers heldAfter(const QKeyEvent* event)
{
    Qt::KeyboardModifiers held = event->modifiers() & kHeldModifiers;
    const Qt::KeyboardModifier own = modifierOfKey(event->key());
    if (event->type() == QEvent::KeyPress)
        held |= own;
    else
        held &= ~Qt::KeyboardModifiers(own);
    return held;
}

} // namespace

DeckViewComplex::DeckViewComplex(QWidget* parent)
    : DeckView(parent)
{
    setScaleFactor(kMinZoom, kMaxZoom);
}

DeckViewComplex::DeckViewComplex(QGraphicsScene* scene, QWidget* parent)
    : DeckViewComplex(parent)
{
    setScene(scene);
    DeckViewComplexEdition::grabTouchGestures(*this);
}

DeckViewComplex::~DeckViewComplex() = default;

void DeckViewComplex::setScaleFactor(qreal min, qreal max)
{
    if (!(min > 0.0))
        min = kDefaultZoomLimit;
    if (!(max > 0.0))
        max = kDefaultZoomLimit;
    min_factor_ = qMin(min, max);
    max_factor_ = max;
}

void DeckViewComplex::pointTo(QPointF pos)
{
    QCursor::setPos(viewport()->mapToGlobal(mapFromScene(pos)));
}

void DeckViewComplex::checkMouseLeftBtn(QMouseEvent* event)
{
    mouse_left_btn_pressed_ = event->buttons() == Qt::LeftButton;
    checkCursorShape();
}

void DeckViewComplex::checkCursorShape()
{
    if (commanding_)
        return;
    if (!ctrl_pressed_)
        showCursor(Qt::ArrowCursor);
    else
        showCursor(mouse_left_btn_pressed_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
}

void DeckViewComplex::mousePressEvent(QMouseEvent* event)
{
    record_pos_ = mapToScene(event->pos());
    checkMouseLeftBtn(event);
    emit mousePressed(event);
    DeckView::mousePressEvent(event);
}

void DeckViewComplex::mouseReleaseEvent(QMouseEvent* event)
{
    checkMouseLeftBtn(event);
    DeckView::mouseReleaseEvent(event);
}

void DeckViewComplex::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && ctrl_pressed_)
        centerOn(mapToScene(event->pos()));
    emit mouseDoubleClicked(event);
    DeckView::mouseDoubleClickEvent(event);
}

void DeckViewComplex::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = mapToScene(event->pos());
    emit trackingChanged(pos);
    // Re-centring by the offset from the press keeps the grabbed point under the pointer.
    if (mouse_left_btn_pressed_ && ctrl_pressed_)
        moveCenter(record_pos_ - pos);
    DeckView::mouseMoveEvent(event);
}

void DeckViewComplex::wheelEvent(QWheelEvent* event)
{
    if (!scene())
        return;
    const QPointF notches = QPointF(event->angleDelta()) / kWheelNotch;
    const int stepsX = harq::roundHalfUp(notches.x());
    const int stepsY = harq::roundHalfUp(notches.y());
    if (stepsY != 0) {
        if (zoom_preview_)
            zoom_preview_->step();
        scaleScene(mapToScene(event->position().toPoint()), std::pow(kWheelZoomStep, -stepsY));
        if (zoom_preview_)
            zoom_preview_->stepped();
    }
    if (stepsX != 0) {
        // The frame has nothing to show for what a pan brings into sight.
        if (zoom_preview_)
            zoom_preview_->end();
        moveCenter(mapToScene(QPoint(kWheelPanPixels * stepsX, 0)) - mapToScene(QPoint(0, 0)));
    }
}

void DeckViewComplex::setZoomPreview(bool on)
{
    if (on == hasZoomPreview())
        return;
    if (on) {
        zoom_preview_ = std::make_unique<ZoomPreview>(*this);
    } else {
        zoom_preview_->end();
        zoom_preview_.reset();
    }
}

bool DeckViewComplex::hasZoomPreview() const
{
    return zoom_preview_ != nullptr;
}

void DeckViewComplex::paintEvent(QPaintEvent* event)
{
    if (!zoom_preview_ || !zoom_preview_->paint())
        DeckView::paintEvent(event);
}

void DeckViewComplex::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers held = heldAfter(event);
    ctrl_pressed_ = held == Qt::ControlModifier;
    if (held == Qt::NoModifier && event->key() == Qt::Key_Escape)
        fitDeck();
    checkCursorShape();
    emit keyPressed(event);
    DeckView::keyPressEvent(event);
}

void DeckViewComplex::keyReleaseEvent(QKeyEvent* event)
{
    ctrl_pressed_ = heldAfter(event) == Qt::ControlModifier;
    checkCursorShape();
    DeckView::keyReleaseEvent(event);
}

void DeckViewComplex::enterEvent(EnterEvent* event)
{
    // Keys and buttons may have changed while the pointer was elsewhere.
    ctrl_pressed_ = (QGuiApplication::queryKeyboardModifiers() & kHeldModifiers) == Qt::ControlModifier;
    mouse_left_btn_pressed_ = QGuiApplication::mouseButtons() == Qt::LeftButton;
    checkCursorShape();
    setFocus();
    DeckView::enterEvent(event);
}

void DeckViewComplex::leaveEvent(QEvent* event)
{
    if (keep_in_view_)
        keepPointerInside();
    else
        DeckView::leaveEvent(event);
}

void DeckViewComplex::showCursor(Qt::CursorShape shape)
{
    viewport()->setCursor(shape);
}

void DeckViewComplex::keepPointerInside()
{
    const QPoint pos = mapFromGlobal(QCursor::pos());
    // Both coordinates at once, so that a pointer leaving over a corner is held too.
    const QPoint inside(qBound(1, pos.x(), width() - 1), qBound(1, pos.y(), height() - 1));
    if (inside != pos)
        QCursor::setPos(mapToGlobal(inside));
}
