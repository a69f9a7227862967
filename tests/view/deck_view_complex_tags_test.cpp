// Complex deck view cases of the edition with tags only: context menu requests, gestures, touch.
#include "deck_view_complex_fixture.h"
#include "view/deck_view_complex.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QGesture>
#include <QGestureEvent>
#include <QSignalSpy>
#include <QTest>

TEST_F(DeckViewComplexTest, ContextMenuIsConsumedUnlessTheReceiverIgnoresIt)
{
    QSignalSpy requests(&view, &DeckViewComplex::resquestContextMenu);
    QContextMenuEvent first(QContextMenuEvent::Mouse, QPoint(50, 50), view.viewport()->mapToGlobal(QPoint(50, 50)));
    QApplication::sendEvent(view.viewport(), &first);
    EXPECT_EQ(requests.count(), 1);
    EXPECT_TRUE(first.isAccepted());
    EXPECT_EQ(scene.menus, 0);

    QObject::connect(&view, &DeckViewComplex::resquestContextMenu, &view, [](QContextMenuEvent* event) { event->ignore(); });
    QContextMenuEvent second(QContextMenuEvent::Mouse, QPoint(50, 50), view.viewport()->mapToGlobal(QPoint(50, 50)));
    QApplication::sendEvent(view.viewport(), &second);
    EXPECT_EQ(requests.count(), 2);
    EXPECT_EQ(scene.menus, 1);
}

TEST_F(DeckViewComplexTest, PinchZoomsAboutItsCentreAndPanMoves)
{
    view.scaleScene(QPointF(200, 100), 4.0);
    const qreal zoomed = view.scaleFactor();
    QSignalSpy scaled(&view, &DeckView::scaleChanged);
    const QPoint at(200, 150);
    const QPointF under = sceneAt(at);

    QPinchGesture pinch;
    pinch.setChangeFlags(QPinchGesture::ScaleFactorChanged);
    pinch.setScaleFactor(1.5);
    pinch.setCenterPoint(view.viewport()->mapToGlobal(at));
    QGestureEvent pinchEvent({&pinch});
    EXPECT_TRUE(QApplication::sendEvent(&view, &pinchEvent));
    ASSERT_EQ(scaled.count(), 1);
    EXPECT_NEAR(view.scaleFactor(), zoomed * 1.5, 1e-9);
    const qreal pixel = 1.0 / view.scaleFactor();
    EXPECT_NEAR(view.centre().x(), under.x(), 1.01 * pixel);
    EXPECT_NEAR(view.centre().y(), under.y(), 1.01 * pixel);

    // A pinch whose scale did not change leaves the view alone.
    pinch.setChangeFlags(QPinchGesture::CenterPointChanged);
    QGestureEvent still({&pinch});
    QApplication::sendEvent(&view, &still);
    EXPECT_EQ(scaled.count(), 1);

    const QPointF before = view.centre();
    QPanGesture pan;
    pan.setLastOffset(QPointF(0, 0));
    pan.setOffset(QPointF(12, -8));
    QGestureEvent panEvent({&pan});
    QApplication::sendEvent(&view, &panEvent);
    EXPECT_NEAR(view.centre().x() - before.x(), 12, pixel);
    EXPECT_NEAR(view.centre().y() - before.y(), -8, pixel);
    EXPECT_EQ(view.cursorShape(), Qt::ArrowCursor); // the gesture is not in progress
}
TEST_F(DeckViewComplexTest, RealTouchTapRefits)
{
    // A QTouchDevice in Qt 5, a QPointingDevice in Qt 6.
    static auto* const screen = QTest::createTouchDevice();
    view.scaleScene(QPointF(200, 100), 4.0);
    QTest::touchEvent(view.viewport(), screen).press(0, QPoint(300, 200), view.viewport());
    QTest::touchEvent(view.viewport(), screen).release(0, QPoint(300, 200), view.viewport());
    QCoreApplication::processEvents();
    EXPECT_NEAR(view.scaleFactor(), fitted, 1e-9);
}
