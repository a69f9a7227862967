#include "deck_view_complex_fixture.h"
#include "view/deck_scene.h"
#include "view/deck_view_complex.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

using deck_view_complex_test::ProbeView;

TEST(DeckViewComplex, ScaleFactorLimitsAreSanitised)
{
    ProbeView view;
    EXPECT_EQ(view.minLimit(), 0.9);
    EXPECT_EQ(view.maxLimit(), 20.0);
    view.setScaleFactor(0, 0);
    EXPECT_EQ(view.minLimit(), 1.0);
    EXPECT_EQ(view.maxLimit(), 1.0);
    view.setScaleFactor(5, 2);
    EXPECT_EQ(view.minLimit(), 2.0);
    EXPECT_EQ(view.maxLimit(), 2.0);
    view.setScaleFactor(-1, 3);
    EXPECT_EQ(view.minLimit(), 1.0);
    EXPECT_EQ(view.maxLimit(), 3.0);
}

TEST_F(DeckViewComplexTest, WheelZoomsAboutThePointer)
{
    view.scaleScene(QPointF(200, 100), 4.0);
    const qreal before = view.scaleFactor();
    QSignalSpy scaled(&view, &DeckView::scaleChanged);
    const QPoint pointer(220, 160);
    const QPointF under = sceneAt(pointer);

    wheel(QPoint(0, -240), pointer); // two notches toward the user
    ASSERT_EQ(scaled.count(), 1);
    EXPECT_NEAR(view.scaleFactor(), before * 1.44, 1e-9);
    EXPECT_NEAR(scaled.last().at(0).toDouble(), before * 1.44, 1e-9);
    const qreal pixel = 1.0 / view.scaleFactor();
    EXPECT_NEAR(view.centre().x(), under.x(), 1.01 * pixel);
    EXPECT_NEAR(view.centre().y(), under.y(), 1.01 * pixel);

    wheel(QPoint(0, 240));
    EXPECT_NEAR(view.scaleFactor(), before, 1e-9);
}

TEST_F(DeckViewComplexTest, WheelNotchesRoundHalvesUpAndStopOnTheLimits)
{
    QSignalSpy scaled(&view, &DeckView::scaleChanged);
    // +60 is half a notch away from the user: one notch out, which stops on the limit.
    const qreal lo = 0.9 * view.fitted();
    wheel(QPoint(0, 60));
    ASSERT_EQ(scaled.count(), 1);
    EXPECT_DOUBLE_EQ(scaled.last().at(0).toDouble(), lo);
    EXPECT_NEAR(view.scaleFactor(), lo, 1e-9);
    wheel(QPoint(0, 120));
    wheel(QPoint(0, 59));
    wheel(QPoint(0, -60));
    EXPECT_EQ(scaled.count(), 1);

    wheel(QPoint(0, -180)); // -1.5 rounds to -1
    EXPECT_NEAR(view.scaleFactor(), lo * 1.2, 1e-9);

    const qreal hi = 20.0 * view.fitted();
    for (int i = 0; i < 4; ++i)
        wheel(QPoint(0, -1200));
    EXPECT_DOUBLE_EQ(scaled.last().at(0).toDouble(), hi);
    EXPECT_NEAR(view.scaleFactor(), hi, 1e-9);
    const int atLimit = scaled.count();
    wheel(QPoint(0, -120));
    EXPECT_EQ(scaled.count(), atLimit);
}

TEST_F(DeckViewComplexTest, SidewaysWheelPansFifteenPixelsPerNotch)
{
    view.scaleScene(QPointF(200, 100), 4.0);
    const qreal scale = view.scaleFactor();
    const QPointF before = view.centre();
    wheel(QPoint(120, 0));
    EXPECT_NEAR(view.centre().x() - before.x(), 15 / scale, 1e-6);
    wheel(QPoint(-240, 0));
    EXPECT_NEAR(view.centre().x() - before.x(), -15 / scale, 1e-6);
    EXPECT_EQ(view.centre().y(), before.y());
}

TEST_F(DeckViewComplexTest, CtrlDragKeepsTheGrabbedPointUnderThePointer)
{
    view.scaleScene(QPointF(200, 100), 4.0);
    const qreal pixel = 1.0 / view.scaleFactor();
    QSignalSpy tracking(&view, &DeckView::trackingChanged);
    EXPECT_EQ(view.cursorShape(), Qt::ArrowCursor);

    key(QEvent::KeyPress, Qt::Key_Control);
    EXPECT_EQ(view.cursorShape(), Qt::OpenHandCursor);
    const QPoint press(300, 200);
    const QPointF grabbed = sceneAt(press);
    mouse(QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(view.cursorShape(), Qt::ClosedHandCursor);

    for (const QPoint to : {QPoint(260, 170), QPoint(200, 260), QPoint(420, 90)}) {
        mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
        EXPECT_NEAR(sceneAt(to).x(), grabbed.x(), pixel);
        EXPECT_NEAR(sceneAt(to).y(), grabbed.y(), pixel);
    }
    ASSERT_EQ(tracking.count(), 3);

    mouse(QEvent::MouseButtonRelease, QPoint(420, 90), Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(view.cursorShape(), Qt::OpenHandCursor);
    key(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(view.cursorShape(), Qt::ArrowCursor);

    // Without Ctrl the left button does not drag.
    const QPointF centre = view.centre();
    mouse(QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, QPoint(250, 150), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(view.centre(), centre);
    EXPECT_EQ(tracking.last().at(0).toPointF(), sceneAt(QPoint(250, 150)));
}

TEST_F(DeckViewComplexTest, CtrlMustBeTheOnlyModifier)
{
    view.scaleScene(QPointF(200, 100), 4.0);
    key(QEvent::KeyPress, Qt::Key_Control);
    key(QEvent::KeyPress, Qt::Key_Shift, Qt::ControlModifier);
    EXPECT_EQ(view.cursorShape(), Qt::ArrowCursor);

    const QPointF centre = view.centre();
    mouse(QEvent::MouseButtonPress, QPoint(300, 200), Qt::LeftButton, Qt::LeftButton,
          Qt::ControlModifier | Qt::ShiftModifier);
    mouse(QEvent::MouseMove, QPoint(250, 150), Qt::NoButton, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view.centre(), centre);
    mouse(QEvent::MouseButtonRelease, QPoint(250, 150), Qt::LeftButton, Qt::NoButton,
          Qt::ControlModifier | Qt::ShiftModifier);

    // Shift let go: Ctrl alone again. Other keys coming and going keep it.
    key(QEvent::KeyRelease, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view.cursorShape(), Qt::OpenHandCursor);
    key(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
    key(QEvent::KeyRelease, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view.cursorShape(), Qt::OpenHandCursor);
    key(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(view.cursorShape(), Qt::ArrowCursor);
}

TEST_F(DeckViewComplexTest, EscapeRefitsOnlyWithoutModifiers)
{
    QSignalSpy keys(&view, &DeckViewComplex::keyPressed);
    view.scaleScene(QPointF(200, 100), 4.0);
    const qreal zoomed = view.scaleFactor();

    key(QEvent::KeyPress, Qt::Key_Shift);
    key(QEvent::KeyPress, Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_EQ(view.scaleFactor(), zoomed);
    key(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier);

    key(QEvent::KeyPress, Qt::Key_Escape);
    EXPECT_NEAR(view.scaleFactor(), fitted, 1e-9);
    ASSERT_EQ(keys.count(), 3);
}

TEST_F(DeckViewComplexTest, CtrlDoubleClickCentresAndIsReported)
{
    QSignalSpy clicks(&view, &DeckViewComplex::mouseDoubleClicked);
    view.scaleScene(QPointF(200, 100), 4.0);
    const qreal pixel = 1.0 / view.scaleFactor();

    key(QEvent::KeyPress, Qt::Key_Control);
    const QPoint at(120, 300);
    const QPointF target = sceneAt(at);
    mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_NEAR(view.centre().x(), target.x(), 1.01 * pixel);
    EXPECT_NEAR(view.centre().y(), target.y(), 1.01 * pixel);
    key(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);

    const QPointF centre = view.centre();
    mouse(QEvent::MouseButtonDblClick, QPoint(500, 100), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(view.centre(), centre);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(DeckViewComplexTest, EnteringReadsTheApplicationsKeysAndButtons)
{
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    view.clearFocus();

    // Held while the pointer was elsewhere: the application state tells.
    QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, 10));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&view, &enter);
    EXPECT_EQ(view.cursorShape(), Qt::ClosedHandCursor);
    EXPECT_TRUE(view.hasFocus());

    QTest::mouseRelease(view.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QApplication::sendEvent(&view, &enter);
    EXPECT_EQ(view.cursorShape(), Qt::ArrowCursor);
}

TEST_F(DeckViewComplexTest, PointToMovesThePointerOntoTheScenePoint)
{
    view.scaleScene(QPointF(200, 100), 3.0);
    const QPointF target(150, 80);
    view.pointTo(target);
    EXPECT_EQ(QCursor::pos(), view.viewport()->mapToGlobal(view.mapFromScene(target)));
}

TEST_F(DeckViewComplexTest, ScaleSceneToLeavesTheMinimumZoomMargin)
{
    view.scaleSceneTo(QRectF(100, 50, 100, 50));
    // Minimum 0.9: a margin of (100 / 0.9 - 100) / 2 on each side.
    const QRectF shown = view.mapToScene(view.viewport()->rect()).boundingRect();
    EXPECT_NEAR(shown.width(), 100 / 0.9, 1.5);
    EXPECT_NEAR(shown.center().x(), 150, 1.0);
}
