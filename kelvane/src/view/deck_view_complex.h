#pragma once

#include "view/deck_view.h"
#ifdef KELVANE_MAINTENANCE
#include "maintenance/maintenance_command_state.h"
#endif

class QContextMenuEvent;
class QKeyEvent;
class QMouseEvent;
#ifndef KELVANE_MAINTENANCE
class QGestureEvent;
class QPanGesture;
class QPinchGesture;
class QTapGesture;
#endif

/// The deck view the host puts on screen. The wheel zooms about the pointer and
/// pans sideways, Ctrl with the left button drags the deck, Ctrl with a
/// double-click centres on a point, Escape refits. Raw mouse, key and
/// context-menu events are handed to the host as signals before the scene sees
/// them, so the host's tools work on the same view.
///
/// Cursors are set on the viewport. "Ctrl held" means Ctrl and no other
/// modifier key, judged by the state after each key event.
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
    /// above 0 becomes 1.0; the minimum never exceeds the maximum.
    void setScaleFactor(qreal min, qreal max);
    /// Moves the mouse pointer onto the scene point \a pos.
    void pointTo(QPointF pos);

signals:
    /// Every mouse press, after the press position was recorded.
    void mousePressed(QMouseEvent* event);
    void mouseDoubleClicked(QMouseEvent* event);
    void keyPressed(QKeyEvent* event);
#ifndef KELVANE_MAINTENANCE
    /// Every context-menu request. A receiver that ignore()s the event lets it
    /// reach the scene; otherwise it is consumed.
    void resquestContextMenu(QContextMenuEvent* event);
#endif

#ifdef KELVANE_MAINTENANCE
public slots:
    /// While a position is chosen (closed hand) or an outline drawn (cross) the
    /// view takes the focus, holds the pointer and owns the cursor; any other
    /// state gives them back with the arrow cursor.
    void onMaintenanceStateChanged(MaintenanceCommandState state);
#endif

protected:
    /// Refreshes whether exactly the left button is held, then the cursor.
    void checkMouseLeftBtn(QMouseEvent* event);
    /// Arrow, open hand with Ctrl, closed hand with Ctrl and the left button;
    /// left alone while a command owns the cursor.
    void checkCursorShape();

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
#ifndef KELVANE_MAINTENANCE
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
#endif

private:
#ifndef KELVANE_MAINTENANCE
    bool gestureEvent(QGestureEvent* event);
    void panTriggered(QPanGesture* gesture);
    void pinchTriggered(QPinchGesture* gesture);
    void tapTriggered(QTapGesture* gesture);
#endif
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
};
