#pragma once

#include "maintenance/maintenance_command_state.h"
#include "view/deck_view.h"

#include <memory>

class QContextMenuEvent;
class QKeyEvent;
class QMouseEvent;
class QGestureEvent;
class QPanGesture;
class QPinchGesture;
class QTapGesture;
class ZoomPreview;

/// The deck view the host puts on screen. The wheel zooms about the pointer and
/// pans sideways, Ctrl with the left button drags the deck, Ctrl with a
/// double-click centres on a point, Escape refits. Raw mouse, key and
/// context-menu events are handed to the host as signals before the scene sees
/// them, so the host's tools work on the same view.
///
/// Cursors are set on the viewport. "Ctrl held" means Ctrl and no other
/// modifier key, judged by the state after each key event.
///
/// The event objects carried by the signals belong to Qt and are valid only
/// during the emission. The library connects none of the signals itself.
///
/// In the edition with tags the view also grabs touch gestures (a pan moves
/// the view, a pinch zooms, a tap refits) and reports context-menu requests.
/// The maintenance edition has neither; instead it follows the maintenance
/// command's state through onMaintenanceStateChanged.
class KELVANE_EXPORT DeckViewComplex : public DeckView
{
    Q_OBJECT

public:
    /// Zoom limits 0.9 and 20 times the fitted scale; no gestures grabbed.
    explicit DeckViewComplex(QWidget* parent = nullptr);
    /// As above, then shows \a scene and grabs the pan, pinch and tap gestures
    /// (edition with tags).
    DeckViewComplex(QGraphicsScene* scene, QWidget* parent = nullptr);
    ~DeckViewComplex() override;

    /// Sets the zoom limits as multiples of the fitted scale. A limit that is not
    /// above 0 becomes 1.0; the minimum never exceeds the maximum (a \a min above
    /// \a max is lowered to it). The current scale is not adjusted; the limits
    /// apply from the next zoom step.
    void setScaleFactor(qreal min, qreal max);
    /// Moves the mouse pointer onto the screen position of the scene point \a pos,
    /// also when that point lies outside the view.
    void pointTo(QPointF pos);

    /// Whether wheel zoom steps show the last frame scaled and draw the scene
    /// at the new scale only once the steps pause for 200 ms (off by default).
    /// A step then costs a scaled copy of the frame instead of a render of the
    /// whole deck; what changes in the scene meanwhile shows after the pause.
    /// A pan, another change of the view's transform or scene rectangle, or a
    /// resize draws the scene at once. Needs a raster backing store (as on the
    /// desktop platforms); elsewhere the view draws as if it were off.
    void setZoomPreview(bool on);
    /// See setZoomPreview().
    bool hasZoomPreview() const;

signals:
    /// Every mouse press, after the press position was recorded, and before the scene sees \a event.
    void mousePressed(QMouseEvent* event);
    /// Every mouse double-click, after a left double-click with Ctrl held has
    /// centred the view on the clicked point, and before the scene sees \a event.
    void mouseDoubleClicked(QMouseEvent* event);
    /// Every key press, after the Ctrl state, the Escape refit and the cursor
    /// were updated, and before the scene sees \a event.
    void keyPressed(QKeyEvent* event);

protected:
    /// Refreshes whether exactly the left button is held, then the cursor.
    void checkMouseLeftBtn(QMouseEvent* event);
    /// Arrow, open hand with Ctrl, closed hand with Ctrl and the left button;
    /// left alone while a command owns the cursor.
    void checkCursorShape();

    /// Records the scene point under the press for dragging, refreshes the
    /// button state and cursor, emits mousePressed, then hands \a event on.
    void mousePressEvent(QMouseEvent* event) override;
    /// Refreshes the button state and cursor, then hands \a event on.
    void mouseReleaseEvent(QMouseEvent* event) override;
    /// Centres on the clicked point for a left double-click with Ctrl held,
    /// emits mouseDoubleClicked, then hands \a event to DeckView.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    /// Emits trackingChanged with the scene point under the pointer and, while
    /// Ctrl and the left button are held, drags the view so that the point
    /// grabbed at the press stays under the pointer; then hands \a event on.
    void mouseMoveEvent(QMouseEvent* event) override;
    /// Without a scene, does nothing. Each vertical notch (120 units of angle
    /// delta, rounded to the nearest whole notch) zooms about the pointer by a
    /// factor of 1.2, toward the user in and away out; each horizontal notch
    /// moves the view sideways by 15 view pixels. The event is not handed on:
    /// neither the scene's items nor the base view see it.
    void wheelEvent(QWheelEvent* event) override;
    /// The scaled last frame during wheel zoom with setZoomPreview(), otherwise the scene.
    void paintEvent(QPaintEvent* event) override;
    /// Updates the Ctrl state, refits on Escape without modifiers, updates the
    /// cursor, emits keyPressed, then hands \a event on.
    void keyPressEvent(QKeyEvent* event) override;
    /// Updates the Ctrl state and the cursor, then hands \a event on.
    void keyReleaseEvent(QKeyEvent* event) override;
    /// What QWidget::enterEvent() is handed: a QEvent in Qt 5, a QEnterEvent in Qt 6.
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    using EnterEvent = QEvent;
#else
    using EnterEvent = QEnterEvent;
#endif
    /// Reads the application's current Ctrl and left-button state (they may have
    /// changed while the pointer was elsewhere), updates the cursor and takes
    /// the keyboard focus.
    void enterEvent(EnterEvent* event) override;
    /// While a maintenance command holds the pointer, puts it back on the
    /// nearest pixel inside the view instead of letting it leave; otherwise
    /// the default handling.
    void leaveEvent(QEvent* event) override;

private:
    void showCursor(Qt::CursorShape shape);
    /// Puts a pointer that left the widget back onto its nearest inner pixel.
    void keepPointerInside();

    QPointF record_pos_;
    bool mouse_left_btn_pressed_ = false;
    bool ctrl_pressed_ = false;
    /// The pointer is held inside the view while a command runs.
    bool keep_in_view_ = false;
    /// A command owns the cursor shape.
    bool commanding_ = false;
    /// Set by setZoomPreview().
    std::unique_ptr<ZoomPreview> zoom_preview_;

    // What only one edition has.
#ifdef KELVANE_MAINTENANCE
public slots:
    /// While a position is chosen (closed hand) or an outline drawn (cross) the
    /// view takes the focus, holds the pointer and owns the cursor; any other
    /// state gives them back with the arrow cursor. Meant to be connected to
    /// MaintenanceCommand::stateChanged; a value outside the enumeration counts
    /// as "any other state".
    void onMaintenanceStateChanged(MaintenanceCommandState state);
#else
signals:
    /// Every context-menu request. A receiver that ignore()s the event lets it
    /// reach the scene; otherwise it is consumed.
    void resquestContextMenu(QContextMenuEvent* event);

protected:
    /// Emits resquestContextMenu; if a receiver ignored \a event, hands it on to
    /// the scene's items.
    void contextMenuEvent(QContextMenuEvent* event) override;
    /// Dispatches gesture events to the pan, pinch and tap handling (a gesture
    /// event always counts as handled); everything else goes to DeckView.
    bool event(QEvent* event) override;

private:
    bool gestureEvent(QGestureEvent* event);
    void panTriggered(QPanGesture* gesture);
    void pinchTriggered(QPinchGesture* gesture);
    void tapTriggered(QTapGesture* gesture);
#endif
};
