#include "entity/region.h"

#include "entity/deck.h"
#include "entity/neighbour.h"
#include "entity/view_group.h"
#include "model_helpers.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStringList>

#include <memory>

using harq::DamageResponse;
using harq::Region;
using harq::Sensor;
using harq::ViewGroup;
using model_test::RegionListener;
using model_test::sensorAt;
using model_test::setAbnormal;
using model_test::square;

TEST(Region, NewRegionIsACabinThatAcceptsNothing)
{
    Region region;
    region.setRegionPath(square);
    EXPECT_EQ(region.type(), Region::CabinType);
    ASSERT_NE(region.viewGroup(), nullptr);
    EXPECT_EQ(region.viewGroup()->name(), "NA");
    EXPECT_EQ(region.responseType(), DamageResponse::NA);

    std::unique_ptr<Sensor> sensor(sensorAt(QPointF(5, 5), DamageResponse::ALL, "T"));
    region.associateSensor(sensor.get());
    RegionListener listener(region);
    setAbnormal(*sensor, true);
    EXPECT_TRUE(listener.take().isEmpty());
}

TEST(Region, ReportsOnEveryStateChangeOfAnAssociatedSensor)
{
    Region region;
    region.setRegionPath(square);
    region.setViewGroup(new ViewGroup("cabin", "C", DamageResponse::SINK));
    std::unique_ptr<Sensor> a(sensorAt(QPointF(2, 2), DamageResponse::FIRE | DamageResponse::SINK, "A"));
    std::unique_ptr<Sensor> b(sensorAt(QPointF(8, 8), DamageResponse::SINK, "B"));
    std::unique_ptr<Sensor> abandon(sensorAt(QPointF(5, 5), DamageResponse::ABANDON, "X"));
    std::unique_ptr<Sensor> outside(sensorAt(QPointF(15, 5), DamageResponse::SINK, "O"));
    for (Sensor* s : {a.get(), b.get(), abandon.get(), outside.get()})
        region.associateSensor(s);
    RegionListener listener(region);

    setAbnormal(*abandon, true);
    setAbnormal(*outside, true);
    EXPECT_TRUE(listener.take().isEmpty()) << "refused sensors are not followed";

    setAbnormal(*a, true);
    EXPECT_EQ(listener.take(), QStringList({"damage", "alarm 1"}));
    setAbnormal(*b, true);
    EXPECT_EQ(listener.take(), QStringList({"damage", "alarm 2"}));
    setAbnormal(*b, false);
    EXPECT_EQ(listener.take(), QStringList({"damage", "alarm 1"})) << "damage repeats while any sensor is abnormal";
    setAbnormal(*a, false);
    EXPECT_EQ(listener.take(), QStringList({"recover", "alarm 0"}));
}

TEST(Region, SensorOfferedAgainCountsOnce)
{
    Region region;
    region.setRegionPath(square);
    region.setViewGroup(new ViewGroup("cabin", "C", DamageResponse::FIRE));
    std::unique_ptr<Sensor> a(sensorAt(QPointF(2, 2), DamageResponse::FIRE, "A"));
    std::unique_ptr<Sensor> b(sensorAt(QPointF(8, 8), DamageResponse::FIRE, "B"));
    region.associateSensor(a.get());
    region.associateSensor(a.get());
    region.associateSensor(b.get());
    RegionListener listener(region);

    setAbnormal(*a, true);
    EXPECT_EQ(listener.take(), QStringList({"damage", "alarm 1"}));
    setAbnormal(*a, false);
    EXPECT_EQ(listener.take(), QStringList({"recover", "alarm 0"}));

    // Refused once, then accepted again: followed once more, still counted once.
    a->setPos(QPointF(50, 50));
    region.associateSensor(a.get());
    a->setPos(QPointF(2, 2));
    region.associateSensor(a.get());
    setAbnormal(*a, true);
    EXPECT_EQ(listener.take(), QStringList({"damage", "alarm 1"}));
}

TEST(Region, SensorsWithoutViewGroupOrRegionWithoutOneAreRefused)
{
    Region region;
    region.setRegionPath(square);
    region.setViewGroup(new ViewGroup("cabin", "C", DamageResponse::FIRE));
    std::unique_ptr<Sensor> bare(sensorAt(QPointF(5, 5), DamageResponse::FIRE, "T"));
    bare->setViewGroup(std::shared_ptr<ViewGroup>());
    region.associateSensor(bare.get());

    Region noGroup;
    noGroup.setRegionPath(square);
    noGroup.setViewGroup(std::shared_ptr<ViewGroup>());
    EXPECT_EQ(noGroup.viewGroup(), nullptr);
    EXPECT_EQ(noGroup.responseType(), 0);
    std::unique_ptr<Sensor> fire(sensorAt(QPointF(5, 5), DamageResponse::FIRE, "F"));
    noGroup.associateSensor(fire.get());

    RegionListener listener(region);
    RegionListener noGroupListener(noGroup);
    setAbnormal(*bare, true);
    setAbnormal(*fire, true);
    EXPECT_TRUE(listener.take().isEmpty());
    EXPECT_TRUE(noGroupListener.take().isEmpty());
}

TEST(Region, SensorOfferedAgainOutsideIsDropped)
{
    Region region;
    region.setViewGroup(new ViewGroup("cabin", "C", DamageResponse::FIRE));
    region.setRegionPath(square);
    std::unique_ptr<Sensor> sensor(sensorAt(QPointF(5, 5), DamageResponse::FIRE, "T"));
    region.associateSensor(sensor.get());
    RegionListener listener(region);

    const QPolygonF elsewhere = square.translated(20, 0);
    region.setRegionPath(elsewhere);
    region.associateSensor(sensor.get());
    setAbnormal(*sensor, true);
    EXPECT_TRUE(listener.take().isEmpty());
}

TEST(Region, SettersNotifyEveryTime)
{
    Region region;
    QSignalSpy names(&region, &Region::nameChanged);
    QSignalSpy codes(&region, &Region::codeChanged);
    QSignalSpy types(&region, &Region::typeChanged);
    region.setName("Engine room");
    region.setName("Engine room");
    region.setCode("E1");
    region.setType(3);
    EXPECT_EQ(names.count(), 2);
    EXPECT_EQ(codes.count(), 1);
    ASSERT_EQ(types.count(), 1);
    EXPECT_EQ(types.at(0).at(0).toInt(), 3);
    EXPECT_EQ(region.nameAndCode(), "Engine room[E1]");
}

TEST(Region, ContainmentFollowsTheOddEvenRule)
{
    Region region;
    // A pentagram: the inner pentagon is covered twice and so lies outside.
    region.setRegionPath(QPolygonF(QVector<QPointF>{QPointF(50, 0), QPointF(79, 90), QPointF(2, 35), QPointF(98, 35),
                                    QPointF(21, 90)}));
    EXPECT_FALSE(region.containsPoint(QPointF(50, 50)));
    EXPECT_TRUE(region.containsPoint(QPointF(50, 20)));
    EXPECT_FALSE(region.containsPoint(QPointF(0, 0)));
}

TEST(Region, NeighbourListsAreCreatedOnceAsChildren)
{
    Region region;
    harq::Neighbour* lists = region.neighbour();
    ASSERT_NE(lists, nullptr);
    EXPECT_EQ(lists->parent(), &region);
    EXPECT_EQ(lists->center(), nullptr);
    EXPECT_EQ(region.neighbour(), lists);
}

using RegionDeathTest = testing::Test;

TEST_F(RegionDeathTest, PreconditionsStopTheProcess)
{
    Region region;
    EXPECT_DEATH(region.associateSensor(nullptr),
                 "\"sensor\" in void harq::Region::associateSensor\\(harq::Sensor\\*\\) .*region.cpp");
    EXPECT_DEATH(region.setViewGroup(static_cast<ViewGroup*>(nullptr)),
                 "\"vg\" in void harq::Region::setViewGroup\\(harq::ViewGroup\\*\\)");
}
