// Model cases of the edition with tags only: sensors know their cabin, outlines grow point by point.
#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "model_helpers.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <memory>

using harq::DamageResponse;
using harq::Deck;
using harq::Region;
using harq::Sensor;
using model_test::regionOf;
using model_test::sensorAt;
using model_test::square;

TEST(Deck, ReleasedCabinsAreForgottenBySensors)
{
    // The cabin is held by the sensor's deck (0), by another deck (1) or by nobody (2).
    for (int holder : {0, 1, 2}) {
        Deck decks[2];
        Region* cabin = regionOf(Region::CabinType, 1, square);
        Sensor* sensor = sensorAt(QPointF(5, 5), DamageResponse::FIRE, "A");
        decks[0].addSensor(sensor);
        cabin->associateSensor(sensor);
        if (holder < 2)
            decks[holder].addRegion(cabin);
        ASSERT_EQ(sensor->cabin(), cabin);
        holder < 2 ? decks[holder].clearRegion() : delete cabin;
        EXPECT_EQ(sensor->cabin(), nullptr) << holder;
    }
}

TEST(Region, CabinsSetTheCabinOfEveryOfferedSensor)
{
    Region cabin;
    cabin.setRegionPath(square);
    Region corridor;
    corridor.setType(2);
    corridor.setRegionPath(square);
    std::unique_ptr<Sensor> refused(sensorAt(QPointF(50, 50), DamageResponse::FIRE, "T"));
    corridor.associateSensor(refused.get());
    EXPECT_EQ(refused->cabin(), nullptr);
    cabin.associateSensor(refused.get());
    EXPECT_EQ(refused->cabin(), &cabin);
}

TEST(Region, OutlineGrowsPointByPoint)
{
    Region region;
    QSignalSpy paths(&region, &Region::regionPathChanged);
    region.addPoint(QPointF(0, 0));
    region.addPoint(QPointF(4, 0));
    region.addPoint(QPointF(0, 4));
    ASSERT_EQ(paths.count(), 3);
    EXPECT_EQ(paths.last().at(0).value<QPolygonF>().size(), 3);
    EXPECT_TRUE(region.containsPoint(QPointF(1, 1)));
}
