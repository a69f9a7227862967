#include "entity/sensor.h"
#include "graphics/sensor_layer.h"
#include "sensor_layer_fixture.h"

#include <gtest/gtest.h>

#include <QGraphicsItemGroup>
#include <QGraphicsScene>
#include <QPointer>

TEST_F(SensorLayerTest, GraphicsAreGroupedByViewGroupCode)
{
    harq::Sensor* fireA = sensorIn("fire");
    harq::Sensor* fireB = sensorIn("fire");
    harq::Sensor* flood = sensorIn("flood");
    fireB->setPos(QPointF(70, 80));
    const auto a = add(fireA);
    const auto b = add(fireB);
    const auto c = add(flood);

    ASSERT_EQ(groups().size(), 2);
    EXPECT_EQ(a->parentItem(), b->parentItem());
    EXPECT_NE(a->parentItem(), c->parentItem());
    EXPECT_EQ(a->parentItem()->parentItem(), layer_);
    // Filing keeps the graphic where its sensor is.
    EXPECT_EQ(b->scenePos(), QPointF(70, 80));

    layer_->hideGroup("fire");
    EXPECT_FALSE(a->isVisible());
    EXPECT_FALSE(b->isVisible());
    EXPECT_TRUE(c->isVisible());

    // A code that no sensor has is ignored and creates nothing.
    layer_->showGroup("smoke");
    layer_->setGroupVisible("smoke", false);
    EXPECT_EQ(groups().size(), 2);
    EXPECT_TRUE(c->isVisible());

    layer_->setGroupVisible("fire", true);
    EXPECT_TRUE(a->isVisible());
}

TEST_F(SensorLayerTest, GroupAndSensorVisibilityCombine)
{
    harq::Sensor* fire = sensorIn("fire");
    const auto graphic = add(fire);

    layer_->setSensorVisible(fire, false);
    layer_->showAll();
    EXPECT_FALSE(graphic->isVisible());

    layer_->hideAll();
    layer_->setSensorVisible(fire, true);
    EXPECT_FALSE(graphic->isVisible());
    EXPECT_TRUE(graphic->isVisibleTo(graphic->parentItem()));
    layer_->showGroup("fire");
    EXPECT_TRUE(graphic->isVisible());

    // A group created after hideAll() starts visible.
    layer_->hideAll();
    const auto flood = add(sensorIn("flood"));
    EXPECT_TRUE(flood->isVisible());
    EXPECT_FALSE(graphic->isVisible());
}

TEST_F(SensorLayerTest, SensorsWithoutViewGroupShareTheEmptyCode)
{
    harq::Sensor* plain = sensorIn("x");
    plain->setViewGroup(std::shared_ptr<harq::ViewGroup>());
    harq::Sensor* emptyCode = sensorIn("");
    const auto a = add(plain);
    const auto b = add(emptyCode);

    EXPECT_EQ(a->parentItem(), b->parentItem());
    layer_->hideGroup("");
    EXPECT_FALSE(a->isVisible());
    EXPECT_FALSE(b->isVisible());

    // A default sensor is in the view group "NA".
    auto unset = std::make_unique<harq::Sensor>();
    const auto c = add(unset.get());
    layer_->hideGroup("NA");
    EXPECT_FALSE(c->isVisible());
}

TEST_F(SensorLayerTest, GraphicsWithoutSensorAreIgnored)
{
    auto* unbound = new CompoundSensorGraphic;
    layer_->addSensor(unbound);
    layer_->addSensor(nullptr);
    EXPECT_TRUE(groups().isEmpty());
    EXPECT_EQ(unbound->parentItem(), nullptr);
    delete unbound;
}

TEST_F(SensorLayerTest, RemovalDestroysGraphicsAndForgetsThem)
{
    harq::Sensor* fireA = sensorIn("fire");
    harq::Sensor* fireB = sensorIn("fire");
    harq::Sensor* flood = sensorIn("flood");
    const auto first = add(fireA);
    const auto second = add(fireA);
    const auto b = add(fireB);
    const auto c = add(flood);

    // Only the graphic added last is reached through its sensor.
    layer_->setSensorVisible(fireA, false);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(second->isVisible());
    layer_->removeSensor(fireA);
    EXPECT_TRUE(second.isNull());
    EXPECT_FALSE(first.isNull());
    layer_->removeSensor(fireA);
    EXPECT_FALSE(first.isNull());

    // The empty group of flood stays and still takes its code.
    layer_->removeSensor(flood);
    EXPECT_TRUE(c.isNull());
    EXPECT_EQ(groups().size(), 2);

    layer_->removeGroup("fire");
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(b.isNull());
    EXPECT_EQ(groups().size(), 1);
    layer_->setSensorVisible(fireB, false);
    layer_->removeSensor(fireB);
    layer_->removeGroup("fire");

    // A graphic deleted by the host is not deleted twice.
    const auto d = add(flood);
    delete d.data();
    layer_->setSensorVisible(flood, false);
    layer_->removeSensor(flood);

    layer_->clear();
    EXPECT_TRUE(groups().isEmpty());
    const auto e = add(fireA);
    ASSERT_EQ(groups().size(), 1);
    EXPECT_EQ(e->parentItem(), groups().first());
    EXPECT_EQ(e->scene(), &scene_);
}
