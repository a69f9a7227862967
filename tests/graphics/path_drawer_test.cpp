#include "config/region_config.h"
#include "graphics/gedit/path_drawer.h"
#include "graphics/graphic_edit_factory.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

namespace {

const QRectF kDeckRect(0, 0, 400, 300);

void sendMouse(QGraphicsScene& scene, QEvent::Type type, QPointF pos, Qt::MouseButton button)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(pos);
    event.setButton(button);
    const bool held = type == QEvent::GraphicsSceneMousePress || type == QEvent::GraphicsSceneMouseDoubleClick;
    event.setButtons(held ? Qt::MouseButtons(button) : Qt::NoButton);
    QApplication::sendEvent(&scene, &event);
}

void click(QGraphicsScene& scene, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(scene, QEvent::GraphicsSceneMousePress, pos, button);
    sendMouse(scene, QEvent::GraphicsSceneMouseRelease, pos, button);
}

void movePointer(QGraphicsScene& scene, QPointF pos)
{
    sendMouse(scene, QEvent::GraphicsSceneMouseMove, pos, Qt::NoButton);
}

// Children in stacking order: the closing line first, then the segments as placed.
QList<QGraphicsLineItem*> lines(const QGraphicsItem& drawer)
{
    QList<QGraphicsLineItem*> result;
    for (QGraphicsItem* child : drawer.childItems())
        result.append(qgraphicsitem_cast<QGraphicsLineItem*>(child));
    return result;
}

class PathDrawerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir(dir_.path()).mkpath("config"));
        const QString file = dir_.filePath("config/region.lua");
        QFile lua(file);
        ASSERT_TRUE(lua.open(QIODevice::WriteOnly));
        lua.write("region = {}\n"
                  "scene = { color = \"#00FF00\", trace = \"#FF0000\", width = 6.0 }\n");
        lua.close();
        RegionConfig::instance().loadStyle(file);

        scene_.setSceneRect(kDeckRect);
        drawer_ = gedit::createPathEditor(QPolygonF(), gedit::REDRAW);
        ASSERT_NE(drawer_, nullptr);
        scene_.addItem(drawer_);
    }

    QTemporaryDir dir_;
    QGraphicsScene scene_;
    gedit::PathEditor* drawer_ = nullptr;
};

} // namespace

TEST(PathEditorFactory, OnlyRedrawHasAnEditor)
{
    for (gedit::PathState state :
         {gedit::ADD_POINT, gedit::DELETE_POINT, gedit::MOVE_POINT, gedit::MOVE_LINE, gedit::FINISH})
        EXPECT_EQ(gedit::createPathEditor(QPolygonF(), state), nullptr) << state;

    const QPolygonF path({QPointF(10, 20), QPointF(110, 20), QPointF(60, 90)});
    std::unique_ptr<gedit::PathEditor> editor(gedit::createPathEditor(path, gedit::REDRAW));
    ASSERT_NE(qgraphicsitem_cast<gedit::PathDrawer*>(editor.get()), nullptr);
    EXPECT_EQ(editor->parentItem(), nullptr);
    // Outside a scene the editor spans the path it was made from...
    EXPECT_EQ(editor->boundingRect(), QRectF(10, 20, 100, 70));

    // ...inside one, the whole scene, so it gets the pointer everywhere.
    QGraphicsScene scene(kDeckRect);
    scene.addItem(editor.get());
    EXPECT_EQ(editor->boundingRect(), kDeckRect);
    scene.removeItem(editor.get());
}

TEST(PathEditor, SceneWithoutFixedRectangleDoesNotRecurse)
{
    QGraphicsScene scene;
    scene.addRect(0, 0, 100, 50);
    gedit::PathEditor* editor = gedit::createPathEditor(QPolygonF({QPointF(500, 500)}), gedit::REDRAW);
    scene.addItem(editor);

    const QRectF rect = scene.sceneRect();
    EXPECT_TRUE(rect.contains(QRectF(0, 0, 100, 50)));
    EXPECT_EQ(editor->boundingRect(), rect);

    QSignalSpy cancelled(editor, &gedit::PathEditor::cancel);
    click(scene, QPointF(50, 25), Qt::RightButton);
    EXPECT_EQ(cancelled.count(), 1);
}

TEST_F(PathDrawerTest, RightPressBeforeAnyPointCancels)
{
    QSignalSpy finished(drawer_, &gedit::PathEditor::finish);
    QSignalSpy cancelled(drawer_, &gedit::PathEditor::cancel);

    movePointer(scene_, QPointF(30, 40));
    ASSERT_EQ(lines(*drawer_).size(), 1);
    EXPECT_TRUE(lines(*drawer_).first()->line().isNull());

    click(scene_, QPointF(30, 40), Qt::MiddleButton);
    click(scene_, QPointF(30, 40), Qt::RightButton);
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(lines(*drawer_).size(), 1);
}

TEST_F(PathDrawerTest, LeftPressesPlacePointsAndRubberBandsFollowThePointer)
{
    QSignalSpy finished(drawer_, &gedit::PathEditor::finish);
    QSignalSpy cancelled(drawer_, &gedit::PathEditor::cancel);
    const QPointF a(10, 10), b(200, 20), c(150, 250), pointer(40, 200);

    click(scene_, a);
    movePointer(scene_, b + QPointF(5, 5));
    click(scene_, b);
    movePointer(scene_, QPointF(100, 100));
    click(scene_, c);
    movePointer(scene_, pointer);

    const QList<QGraphicsLineItem*> items = lines(*drawer_);
    ASSERT_EQ(items.size(), 4);
    QGraphicsLineItem* closing = items[0];
    EXPECT_EQ(closing->line(), QLineF(a, pointer));
    // A press reaches the drawer with the pointer on it, so each finished
    // segment ends on the next point.
    EXPECT_EQ(items[1]->line(), QLineF(a, b));
    EXPECT_EQ(items[2]->line(), QLineF(b, c));
    EXPECT_EQ(items[3]->line(), QLineF(c, pointer));

    // Segments use the trace pen; the closing line is dashed in the edit colour.
    for (int i = 1; i < items.size(); ++i)
        EXPECT_EQ(items[i]->pen(), RegionConfig::instance().pathTracePen());
    EXPECT_EQ(closing->pen().color(), QColor("#00FF00"));
    EXPECT_EQ(closing->pen().widthF(), 3.0);
    EXPECT_EQ(closing->pen().style(), Qt::DashLine);

    click(scene_, pointer, Qt::RightButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.first().first().value<QPolygonF>(), QPolygonF({a, b, c}));
    EXPECT_EQ(cancelled.count(), 0);
}

TEST_F(PathDrawerTest, DoubleClickFinishesWithoutPlacingThePointTwice)
{
    QSignalSpy finished(drawer_, &gedit::PathEditor::finish);
    const QPointF a(10, 10), b(200, 20), c(150, 250);

    click(scene_, a);
    click(scene_, b);
    click(scene_, c);
    sendMouse(scene_, QEvent::GraphicsSceneMouseDoubleClick, c, Qt::LeftButton);
    sendMouse(scene_, QEvent::GraphicsSceneMouseRelease, c, Qt::LeftButton);

    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.first().first().value<QPolygonF>(), QPolygonF({a, b, c}));
    EXPECT_EQ(lines(*drawer_).size(), 4);

    // The drawer stays usable until its owner removes it.
    click(scene_, QPointF(5, 5));
    click(scene_, QPointF(5, 5), Qt::RightButton);
    ASSERT_EQ(finished.count(), 2);
    EXPECT_EQ(finished.last().first().value<QPolygonF>().size(), 4);
}

TEST(PathEditorDeathTest, MovingANullLineStops)
{
    EXPECT_DEATH(gedit::moveEndPoint(nullptr, QPointF()),
                 "line.*void gedit::moveEndPoint\\(QGraphicsLineItem\\*, QPointF\\)");
}
