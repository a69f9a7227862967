#include "view/blink_animation.h"
#include "view/opacity_animation.h"

#include <gtest/gtest.h>

#include <QGraphicsColorizeEffect>
#include <QGraphicsOpacityEffect>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QPropertyAnimation>
#include <QTest>

namespace {

QPropertyAnimation* runningOf(AlarmAnimation& alarm)
{
    return alarm.findChild<QPropertyAnimation*>();
}

qreal opacityOf(QGraphicsItem* item)
{
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(item->graphicsEffect());
    return effect ? effect->opacity() : -1.0;
}

QRgb renderedCentre(QGraphicsScene& scene)
{
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(0, 0, 20, 20), QRectF(0, 0, 20, 20));
    painter.end();
    return image.pixel(10, 10);
}

// Like a sensor graphic: an object item that owns the animation of its child item.
class Owner : public QGraphicsTextItem
{
public:
    Owner()
        : mark(new QGraphicsRectItem(0, 0, 10, 10, this))
        , alarm(new OpacityAnimation(this))
    {
    }
    QGraphicsRectItem* mark;
    OpacityAnimation* alarm;
};

} // namespace

TEST(AlarmAnimationDeathTest, NullItemStopsTheProgram)
{
    OpacityAnimation alarm;
    EXPECT_DEATH(alarm.start(nullptr), "\"g\" in void AlarmAnimation::start\\(QGraphicsItem\\*\\)");
}

TEST(OpacityAnimation, FadesOutAndInWithoutEnd)
{
    QGraphicsRectItem item(0, 0, 10, 10);
    OpacityAnimation alarm;
    alarm.start(&item);

    QPropertyAnimation* fade = runningOf(alarm);
    ASSERT_TRUE(fade);
    EXPECT_EQ(fade->state(), QAbstractAnimation::Running);
    EXPECT_EQ(fade->duration(), 2000);
    EXPECT_EQ(fade->loopCount(), 1);
    EXPECT_EQ(fade->easingCurve().type(), QEasingCurve::Linear);
    EXPECT_EQ(opacityOf(&item), 0.0);

    fade->setCurrentTime(1000);
    EXPECT_DOUBLE_EQ(opacityOf(&item), 0.5);
    // The end of a pass starts the way back.
    fade->setCurrentTime(2000);
    EXPECT_EQ(fade->state(), QAbstractAnimation::Running);
    EXPECT_EQ(fade->direction(), QAbstractAnimation::Backward);
    fade->setCurrentTime(500);
    EXPECT_DOUBLE_EQ(opacityOf(&item), 0.25);
    fade->setCurrentTime(0);
    EXPECT_EQ(fade->state(), QAbstractAnimation::Running);
    EXPECT_EQ(fade->direction(), QAbstractAnimation::Forward);
}

TEST(OpacityAnimation, BlinkingShowsAndStopRestores)
{
    QGraphicsScene scene;
    auto* item = scene.addRect(0, 0, 20, 20, Qt::NoPen, Qt::red);
    OpacityAnimation alarm;

    alarm.start(item);
    EXPECT_EQ(renderedCentre(scene), qRgb(255, 255, 255));
    QPointer<QPropertyAnimation> fade = runningOf(alarm);
    QPointer<QGraphicsEffect> effect = item->graphicsEffect();
    fade->setCurrentTime(1000);
    EXPECT_NEAR(qGreen(renderedCentre(scene)), 128, 2); // half-way: pink

    alarm.stop();
    EXPECT_EQ(item->graphicsEffect(), nullptr);
    // Nothing is kept while stopped: the fade and its effect are gone.
    EXPECT_TRUE(fade.isNull());
    EXPECT_TRUE(effect.isNull());
    EXPECT_EQ(renderedCentre(scene), qRgb(255, 0, 0));

    // Stopping again leaves the item alone, whatever effect it has now.
    auto* own = new QGraphicsColorizeEffect;
    item->setGraphicsEffect(own);
    alarm.stop();
    EXPECT_EQ(item->graphicsEffect(), own);
}

TEST(OpacityAnimation, StartingAgainBeginsAFreshCycle)
{
    QGraphicsRectItem a(0, 0, 10, 10);
    QGraphicsRectItem b(0, 0, 10, 10);
    OpacityAnimation alarm;

    alarm.start(&a);
    runningOf(alarm)->setCurrentTime(1500);
    alarm.start(&a);
    EXPECT_EQ(opacityOf(&a), 0.0);
    EXPECT_EQ(alarm.findChildren<QPropertyAnimation*>().size(), 1);

    alarm.start(&b);
    EXPECT_EQ(a.graphicsEffect(), nullptr);
    EXPECT_EQ(opacityOf(&b), 0.0);
    EXPECT_EQ(runningOf(alarm)->targetObject(), b.graphicsEffect());
}

TEST(OpacityAnimation, FormerEffectIsKeptAndPutBack)
{
    QGraphicsRectItem item(0, 0, 10, 10);
    QPointer<QGraphicsColorizeEffect> former = new QGraphicsColorizeEffect;
    item.setGraphicsEffect(former);

    {
        OpacityAnimation alarm;
        alarm.start(&item);
        EXPECT_NE(item.graphicsEffect(), former.data());
        ASSERT_FALSE(former.isNull());
    } // destroying the animation stops it

    EXPECT_EQ(item.graphicsEffect(), former.data());
}

TEST(OpacityAnimation, ItemDestroyedFirstIsNeverTouchedAgain)
{
    OpacityAnimation alarm;
    auto* item = new QGraphicsRectItem(0, 0, 10, 10);
    QPointer<QGraphicsColorizeEffect> former = new QGraphicsColorizeEffect;
    item->setGraphicsEffect(former);
    alarm.start(item);
    delete item;

    // The animation learnt of it at once: nothing runs, and the former effect
    // that had nowhere to go back to is gone.
    EXPECT_FALSE(runningOf(alarm));
    EXPECT_TRUE(former.isNull());
    alarm.stop();

    QGraphicsRectItem other(0, 0, 10, 10);
    alarm.start(&other);
    EXPECT_EQ(opacityOf(&other), 0.0);
}

TEST(OpacityAnimation, OwnerDestroyedWhileItsMarkBlinks)
{
    auto* owner = new Owner;
    QPointer<OpacityAnimation> alarm = owner->alarm;
    owner->alarm->start(owner->mark);
    ASSERT_TRUE(runningOf(*alarm));
    // The mark goes with the owner's item part, before the animation as a child object.
    delete owner;
    EXPECT_TRUE(alarm.isNull());
}

TEST(OpacityAnimation, ReplacedEffectEndsTheAnimationWithoutRestoring)
{
    QGraphicsRectItem item(0, 0, 10, 10);
    OpacityAnimation alarm;
    alarm.start(&item);

    auto* replacement = new QGraphicsColorizeEffect;
    item.setGraphicsEffect(replacement);
    EXPECT_FALSE(runningOf(alarm));
    alarm.stop();
    EXPECT_EQ(item.graphicsEffect(), replacement);
}

TEST(BlinkAnimation, ItemsStartedApartBlinkTogetherAndStopLeavesNothing)
{
    QGraphicsRectItem a(0, 0, 10, 10);
    QGraphicsRectItem b(0, 0, 10, 10);
    BlinkAnimation first;
    BlinkAnimation second;
    first.start(&a);
    QTest::qWait(3 * BlinkAnimation::stepMilliseconds());
    second.start(&b);
    // The first step after the second start brings both to the clock's level.
    QTest::qWait(2 * BlinkAnimation::stepMilliseconds());
    EXPECT_EQ(opacityOf(&a), opacityOf(&b));

    QPointer<QGraphicsEffect> effect = a.graphicsEffect();
    first.stop();
    EXPECT_TRUE(effect.isNull());
    EXPECT_EQ(a.graphicsEffect(), nullptr);
    EXPECT_FALSE(first.findChild<QAbstractAnimation*>());
}

TEST(BlinkAnimation, ObjectsPartBlinksOnItsOwnOpacityInPhaseAndMayGoFirst)
{
    auto* owner = new QGraphicsTextItem;
    auto* mark = new QGraphicsRectItem(0, 0, 10, 10, owner);
    mark->setOpacity(0.5);
    QGraphicsRectItem plain(0, 0, 10, 10);
    BlinkAnimation ownBlink;
    BlinkAnimation effectBlink;
    ownBlink.start(mark);
    effectBlink.start(&plain);
    QTest::qWait(2 * BlinkAnimation::stepMilliseconds());
    // No effect and no animation object; the same step of the same clock.
    EXPECT_EQ(mark->graphicsEffect(), nullptr);
    EXPECT_FALSE(ownBlink.findChild<QAbstractAnimation*>());
    EXPECT_DOUBLE_EQ(mark->opacity(), 0.5 * opacityOf(&plain));

    ownBlink.stop();
    EXPECT_EQ(mark->opacity(), 0.5);

    // The mark goes with its owner while it blinks: the clock lets go of it.
    ownBlink.start(mark);
    delete owner;
    QTest::qWait(2 * BlinkAnimation::stepMilliseconds());
    ownBlink.stop();
    QGraphicsTextItem other;
    ownBlink.start(&other);
    QTest::qWait(2 * BlinkAnimation::stepMilliseconds());
    EXPECT_DOUBLE_EQ(other.opacity(), opacityOf(&plain));
}
