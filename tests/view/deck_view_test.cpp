#include "deck_view_fixture.h"
#include "view/deck_scene.h"
#include "view/deck_view.h"

#include <gtest/gtest.h>

#include <QGraphicsScene>
#include <QSignalSpy>
#include <QTest>

using deck_view_test::ProbeView;

TEST_F(DeckViewTest, ChangeDeckFitsAndAnnounces)
{
    QSignalSpy changed(&view, &DeckView::deckChanged);
    view.scale(3, 3);
    view.changeDeck(QString());
    EXPECT_EQ(view.deckName(), "NA");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), "NA");
    // Fitted: the whole drawing is inside the viewport and fills it in one direction.
    const QRectF shown = view.mapToScene(view.viewport()->rect()).boundingRect();
    EXPECT_TRUE(shown.adjusted(-1, -1, 1, 1).contains(scene.sceneRect()));
    EXPECT_LT(view.scaleFactor(), view.fitted());
    EXPECT_GT(view.scaleFactor(), 0.95 * view.fitted());
}

TEST_F(DeckViewTest, DefaultLimitsAllowOnlyTheFittedScale)
{
    QSignalSpy scaled(&view, &DeckView::scaleChanged);
    view.scaleScene(QPointF(200, 100), 1.0);
    EXPECT_EQ(scaled.count(), 0);

    view.scaleScene(QPointF(200, 100), 2.0);
    ASSERT_EQ(scaled.count(), 1);
    EXPECT_DOUBLE_EQ(scaled.at(0).at(0).toDouble(), view.fitted());
    EXPECT_DOUBLE_EQ(view.scaleFactor(), view.fitted());

    // On the limit both ways: further steps in either direction do nothing.
    view.scaleScene(QPointF(200, 100), 2.0);
    view.scaleScene(QPointF(200, 100), 0.5);
    EXPECT_EQ(scaled.count(), 1);
    EXPECT_DOUBLE_EQ(view.scaleFactor(), view.fitted());
}

TEST_F(DeckViewTest, ResizeReturnsToTheFittedView)
{
    const qreal fitted = view.scaleFactor();
    view.scale(4, 4);
    view.resize(601, 400);
    QCoreApplication::processEvents();
    EXPECT_NEAR(view.scaleFactor(), fitted, 0.01);
}

TEST_F(DeckViewTest, MoveCenterShiftsByTheSceneVector)
{
    view.scale(4, 4);
    const QPointF before = view.centre();
    view.moveCenter(QPointF(20, -10));
    const QPointF moved = view.centre() - before;
    EXPECT_NEAR(moved.x(), 20, 0.25);
    EXPECT_NEAR(moved.y(), -10, 0.25);

    // Repeated null moves must not creep.
    for (int i = 0; i < 50; ++i)
        view.moveCenter(QPointF());
    EXPECT_EQ(view.centre(), before + moved);
}

TEST(DeckView, ZoomNeedsASceneWithAnExtent)
{
    ProbeView bare;
    bare.resize(300, 200);
    QSignalSpy scaled(&bare, &DeckView::scaleChanged);
    bare.scaleScene(QPointF(1, 1), 2.0);
    bare.fitDeck();
    EXPECT_EQ(scaled.count(), 0);

    // A scene without items has an empty rectangle and so no fitted scale.
    QGraphicsScene empty;
    bare.setScene(&empty);
    bare.scaleScene(QPointF(1, 1), 2.0);
    EXPECT_EQ(scaled.count(), 0);
    EXPECT_TRUE(bare.transform().isIdentity());
}

// Many small repaints take the viewport's left column along in the same
// repaint; the first repaint of few rectangles after them is the last to.
TEST_F(DeckViewTest, ManySmallRepaintsTakeTheLeftColumnAlong)
{
    const QRegion column(0, 0, 1, view.viewport()->height());
    QTest::qWait(50);
    auto columnJoins = [&](int rects) {
        view.painted.clear();
        for (int i = 0; i < rects; ++i)
            view.viewport()->update(20 * (i % 10) + 40, 10 * (i / 10) + 5, 2, 2);
        QTest::qWait(50);
        EXPECT_EQ(view.painted.size(), 1);
        EXPECT_EQ(view.painted.value(0).subtracted(column).rectCount(), rects);
        return view.painted.value(0).intersected(column) == column;
    };
    EXPECT_FALSE(columnJoins(100));
    EXPECT_TRUE(columnJoins(100));
    EXPECT_TRUE(columnJoins(1));
    EXPECT_FALSE(columnJoins(1));
}
