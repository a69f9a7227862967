#include "graphics/pixmap_tag.h"
#include "graphics/tag_editor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QPixmap>
#include <QSignalSpy>

namespace {

const QRectF kDeckRect(0, 0, 400, 300);
const QPointF kStart(50, 60);

void sendMouse(QGraphicsScene& scene, QEvent::Type type, QPointF pos, Qt::MouseButton button)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(pos);
    event.setButton(button);
    event.setButtons(type == QEvent::GraphicsSceneMousePress ? Qt::MouseButtons(button) : Qt::NoButton);
    QApplication::sendEvent(&scene, &event);
}

void click(QGraphicsScene& scene, QPointF pos, Qt::MouseButton button)
{
    sendMouse(scene, QEvent::GraphicsSceneMousePress, pos, button);
    sendMouse(scene, QEvent::GraphicsSceneMouseRelease, pos, button);
}

void movePointer(QGraphicsScene& scene, QPointF pos)
{
    sendMouse(scene, QEvent::GraphicsSceneMouseMove, pos, Qt::NoButton);
}

class TagEditorTest : public testing::Test
{
protected:
    void SetUp() override
    {
        scene_.setSceneRect(kDeckRect);
        tag_ = new PixmapTag;
        QPixmap picture(40, 40);
        picture.fill(Qt::red);
        tag_->setPixmap(picture);
        tag_->setPos(kStart);
        scene_.addItem(tag_);
    }

    gedit::TagEditor* startEditing()
    {
        auto* editor = new gedit::TagEditor(tag_);
        editor->setZValue(1); // as a host does, above the plan
        scene_.addItem(editor);
        return editor;
    }

    QGraphicsScene scene_;
    PixmapTag* tag_ = nullptr;
};

} // namespace

TEST_F(TagEditorTest, TagFollowsThePointerUntilALeftPress)
{
    const QRectF tagRect = tag_->boundingRect();
    auto* editor = new gedit::TagEditor(tag_);
    EXPECT_EQ(editor->boundingRect(), tagRect);
    editor->setZValue(1);
    scene_.addItem(editor);
    EXPECT_EQ(editor->boundingRect(), kDeckRect);

    QSignalSpy finished(editor, &gedit::TagEditor::finish);
    QSignalSpy cancelled(editor, &gedit::TagEditor::cancel);
    movePointer(scene_, QPointF(120, 80));
    EXPECT_EQ(tag_->pos(), QPointF(120, 80));

    click(scene_, QPointF(300, 200), Qt::MiddleButton);
    EXPECT_EQ(finished.count() + cancelled.count(), 0);

    click(scene_, QPointF(200, 150), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.first().first().toPointF(), QPointF(200, 150));
    EXPECT_EQ(tag_->pos(), QPointF(200, 150));
    EXPECT_EQ(cancelled.count(), 0);
    // The confirmed place holds while the host has not removed the editor yet.
    movePointer(scene_, QPointF(20, 20));
    EXPECT_EQ(tag_->pos(), QPointF(200, 150));
}

TEST_F(TagEditorTest, RightPressPutsTheTagBackAndCancels)
{
    gedit::TagEditor* editor = startEditing();
    QSignalSpy finished(editor, &gedit::TagEditor::finish);
    QSignalSpy cancelled(editor, &gedit::TagEditor::cancel);

    movePointer(scene_, QPointF(300, 250));
    EXPECT_EQ(tag_->pos(), QPointF(300, 250));
    // The release and later movements must not drag the restored tag away.
    click(scene_, QPointF(310, 260), Qt::RightButton);
    movePointer(scene_, QPointF(200, 200));
    EXPECT_EQ(tag_->pos(), kStart);
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_EQ(finished.count(), 0);
}

TEST_F(TagEditorTest, PressesAfterFinishOrCancelDoNothing)
{
    gedit::TagEditor* placing = startEditing();
    QSignalSpy finished(placing, &gedit::TagEditor::finish);
    QSignalSpy placingCancelled(placing, &gedit::TagEditor::cancel);
    click(scene_, QPointF(200, 150), Qt::LeftButton);
    click(scene_, QPointF(300, 250), Qt::LeftButton);
    click(scene_, QPointF(300, 250), Qt::RightButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.first().first().toPointF(), QPointF(200, 150));
    EXPECT_EQ(placingCancelled.count(), 0);
    EXPECT_EQ(tag_->pos(), QPointF(200, 150));
    delete placing;

    // A second editor starts from the place the first one confirmed.
    gedit::TagEditor* abandoning = startEditing();
    QSignalSpy cancelled(abandoning, &gedit::TagEditor::cancel);
    QSignalSpy abandoningFinished(abandoning, &gedit::TagEditor::finish);
    movePointer(scene_, QPointF(100, 100));
    click(scene_, QPointF(100, 100), Qt::RightButton);
    tag_->setPos(kStart); // the host places the tag itself
    click(scene_, QPointF(120, 130), Qt::RightButton);
    click(scene_, QPointF(120, 130), Qt::LeftButton);
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_EQ(abandoningFinished.count(), 0);
    EXPECT_EQ(tag_->pos(), kStart);
}

TEST_F(TagEditorTest, TagUnderAShiftedGroupLandsUnderThePointer)
{
    auto* group = new QGraphicsRectItem;
    group->setPos(100, 100);
    scene_.addItem(group);
    tag_->setParentItem(group);
    startEditing();

    movePointer(scene_, QPointF(150, 170));
    EXPECT_EQ(tag_->scenePos(), QPointF(150, 170));
}

TEST_F(TagEditorTest, TagDeletedDuringEditingIsLeftAlone)
{
    gedit::TagEditor* editor = startEditing();
    QSignalSpy cancelled(editor, &gedit::TagEditor::cancel);
    delete tag_;

    movePointer(scene_, QPointF(120, 80));
    click(scene_, QPointF(120, 80), Qt::RightButton);
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_EQ(editor->boundingRect(), kDeckRect);
}

TEST(TagEditor, SceneWithoutFixedRectangleDoesNotRecurse)
{
    QGraphicsScene scene;
    auto* tag = new PixmapTag;
    tag->setPos(20, 30);
    scene.addItem(tag);
    scene.addRect(0, 0, 100, 50);
    auto* editor = new gedit::TagEditor(tag);
    scene.addItem(editor);

    EXPECT_EQ(editor->boundingRect(), scene.sceneRect());
    movePointer(scene, QPointF(60, 40));
    EXPECT_EQ(tag->pos(), QPointF(60, 40));
}

TEST(TagEditorDeathTest, NullTagStops)
{
    EXPECT_DEATH(gedit::TagEditor(nullptr), "tag.*gedit::TagEditor::TagEditor\\(PixmapTag\\*, QGraphicsItem\\*\\)");
}
