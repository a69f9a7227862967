// Sensor graphic cases of the edition with tags only: alarm animations.
#include "entity/sensor.h"
#include "graphics/compound_sensor_graphic.h"
#include "graphics/mark_sensor_graphic.h"
#include "sensor_graphic_fixture.h"
#include "view/opacity_animation.h"

#include <gtest/gtest.h>

#include <QGraphicsEffect>
#include <QGraphicsRectItem>
#include <QPointer>

using namespace sensor_graphic_test;

TEST_F(SensorGraphicTest, MarkBlinksWhileTheSensorIsAbnormal)
{
    auto sensor = valueSensor("D", "CD", 2);
    MarkSensorGraphic graphic;
    graphic.setSensor(sensor.get());
    auto* mark = child<QGraphicsRectItem>(graphic);

    feed(*sensor, "t0", 5);
    // Installed while abnormal: nothing blinks until the next state change.
    QPointer<AlarmAnimation> animation = new OpacityAnimation;
    graphic.acceptAnimotion(animation);
    EXPECT_EQ(animation->parent(), &graphic);
    EXPECT_EQ(mark->graphicsEffect(), nullptr);

    feed(*sensor, "t1", 5);
    EXPECT_NE(qobject_cast<QGraphicsOpacityEffect*>(mark->graphicsEffect()), nullptr);
    EXPECT_EQ(graphic.graphicsEffect(), nullptr);

    feed(*sensor, "t0", 0.5);
    EXPECT_NE(mark->graphicsEffect(), nullptr);
    feed(*sensor, "t1", 0.5);
    EXPECT_EQ(mark->graphicsEffect(), nullptr);

    // Acknowledged: steady, also across state changes, until the flag is cleared.
    EXPECT_FALSE(graphic.isAcknowledged());
    feed(*sensor, "t1", 5);
    graphic.setAcknowledged(true);
    EXPECT_EQ(mark->graphicsEffect(), nullptr);
    feed(*sensor, "t0", 5);
    EXPECT_EQ(mark->graphicsEffect(), nullptr);
    graphic.setAcknowledged(false);
    EXPECT_NE(qobject_cast<QGraphicsOpacityEffect*>(mark->graphicsEffect()), nullptr);
    feed(*sensor, "t0", 0.5);
    feed(*sensor, "t1", 0.5);

    // Replacing the animation destroys the old one and restores the mark.
    feed(*sensor, "t1", 5);
    ASSERT_NE(mark->graphicsEffect(), nullptr);
    graphic.acceptAnimotion(nullptr);
    EXPECT_TRUE(animation.isNull());
    EXPECT_EQ(mark->graphicsEffect(), nullptr);
    feed(*sensor, "t0", 5);
    EXPECT_EQ(mark->graphicsEffect(), nullptr);
}

TEST_F(SensorGraphicTest, RebindingStopsTheOldSensorsBlinking)
{
    auto alarmed = valueSensor("F", "CF", 1);
    auto quiet = valueSensor("G", "CG", 1);
    MarkSensorGraphic graphic;
    graphic.setSensor(alarmed.get());
    graphic.acceptAnimotion(new OpacityAnimation);
    feed(*alarmed, "t0", 5);
    auto* mark = child<QGraphicsRectItem>(graphic);
    ASSERT_NE(mark->graphicsEffect(), nullptr);

    graphic.setSensor(quiet.get());
    EXPECT_EQ(mark->graphicsEffect(), nullptr);
    EXPECT_EQ(markBrush(graphic).color(), QColor(Qt::green));
    feed(*quiet, "t0", 5);
    EXPECT_NE(mark->graphicsEffect(), nullptr);
}

TEST_F(SensorGraphicTest, CompoundGraphicBlinksAsAWholeAndDiesSafelyWhileBlinking)
{
    auto sensor = valueSensor("E", "CE", 1);
    auto* graphic = new CompoundSensorGraphic;
    graphic->setSensor(sensor.get());
    QPointer<AlarmAnimation> animation = new OpacityAnimation;
    graphic->acceptAnimotion(animation);
    graphic->acceptAnimotion(animation);
    ASSERT_FALSE(animation.isNull());

    feed(*sensor, "t0", 5);
    EXPECT_NE(qobject_cast<QGraphicsOpacityEffect*>(graphic->graphicsEffect()), nullptr);

    delete graphic;
    EXPECT_TRUE(animation.isNull());
    // The sensor's signals no longer reach the graphic.
    feed(*sensor, "t0", 0.5);
}

TEST(SensorGraphicDeathTest, AnimationNeedsABoundSensor)
{
    CompoundSensorGraphic graphic;
    EXPECT_DEATH(graphic.acceptAnimotion(nullptr),
                 "\"sensor_\" in void SensorGraphic::acceptAnimotion\\(AlarmAnimation\\*\\)");
}
