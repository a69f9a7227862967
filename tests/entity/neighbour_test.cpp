#include "entity/neighbour.h"

#include "entity/firecard.h"
#include "entity/region.h"

#include <gtest/gtest.h>

#include <memory>

using harq::Direction;
using harq::Neighbour;
using harq::Region;

TEST(Direction, NamesAndOpposites)
{
    EXPECT_EQ(harq::directions(), 6u);
    for (std::size_t ix = 0; ix < harq::directions(); ++ix) {
        const Direction d = harq::indexDirection(ix);
        EXPECT_EQ(harq::directionIndex(d), ix);
        EXPECT_NE(harq::flapDirection(d), d);
        EXPECT_EQ(harq::flapDirection(harq::flapDirection(d)), d);
    }
    EXPECT_EQ(harq::flapDirection(harq::UP), harq::DOWN);
    EXPECT_EQ(harq::flapDirection(harq::LEFT), harq::RIGHT);
    EXPECT_EQ(harq::flapDirection(harq::BACK), harq::FRONT);
    EXPECT_EQ(harq::flapDirection(harq::CENTER), harq::CENTER);

    EXPECT_EQ(harq::directionStr(harq::UP), QString::fromUtf8("上部"));
    EXPECT_EQ(harq::directionStr(std::size_t(5)), QString::fromUtf8("后部"));
    EXPECT_EQ(harq::directionStr(std::size_t(7)), QString::fromUtf8("中心"));
    EXPECT_EQ(harq::indexDirection(1000), harq::CENTER);
    EXPECT_EQ(harq::directionStr(std::size_t(1000)), QString::fromUtf8("中心"));
}

TEST(Neighbour, ListsHoldEachRegionOncePerDirection)
{
    Region a;
    Region b;
    Region center;
    Neighbour lists;
    lists.setCenter(&center);
    lists.addNeighbour(&a, harq::UP);
    lists.addNeighbour(&a, harq::UP);
    lists.addNeighbour(&b, harq::UP);
    lists.addNeighbour(&a, harq::LEFT);
    lists.addNeighbour(&b, harq::CENTER);

    EXPECT_EQ(lists.center(), &center);
    EXPECT_EQ(lists.neighbourCount(harq::UP), 2u);
    EXPECT_EQ(lists.neighbourAt(harq::UP, 0), &a);
    EXPECT_EQ(lists.neighbourAt(std::size_t(0), 1), &b);
    EXPECT_EQ(lists.neighbourAt(harq::UP, 5), nullptr);
    EXPECT_EQ(lists.neighbourCount(harq::LEFT), 1u);
    EXPECT_EQ(lists.neighbourCount(harq::CENTER), 0u);
    EXPECT_EQ(lists.neighbourCount(std::size_t(99)), 0u);
    EXPECT_EQ(lists.neighbourAt(std::size_t(99), 0), nullptr);

    lists.removeNeighbour(&a, harq::UP);
    lists.removeNeighbour(&a, harq::DOWN);
    EXPECT_EQ(lists.neighbourCount(harq::UP), 1u);
    EXPECT_EQ(lists.neighbourAt(harq::UP, 0), &b);

    lists.setCenter(&a);
    for (std::size_t ix = 0; ix < harq::directions(); ++ix)
        EXPECT_EQ(lists.neighbourCount(ix), 0u);
}

TEST(Neighbour, DestroyedRegionsLeaveTheListsAndTheCenter)
{
    auto a = std::make_unique<Region>();
    auto b = std::make_unique<Region>();
    auto c = std::make_unique<Region>();
    Neighbour lists;
    lists.setCenter(a.get());
    lists.addNeighbour(a.get(), harq::UP);
    lists.addNeighbour(b.get(), harq::UP);
    lists.addNeighbour(b.get(), harq::LEFT);
    lists.addNeighbour(c.get(), harq::DOWN);
    // Removed from one place, each is still held in another and must stay followed.
    lists.removeNeighbour(b.get(), harq::UP);
    lists.removeNeighbour(a.get(), harq::UP);

    b.reset();
    EXPECT_EQ(lists.neighbourCount(harq::LEFT), 0u);
    a.reset();
    EXPECT_EQ(lists.center(), nullptr);
    EXPECT_EQ(lists.neighbourCount(harq::DOWN), 1u);

    lists.setCenter(c.get()); // empties DOWN, where c was listed, then holds it as center
    c.reset();
    EXPECT_EQ(lists.center(), nullptr);
}

TEST(Firecard, HoldsTextsAndDangerSources)
{
    harq::DeviceList inner("Engine room");
    inner.addDevice("fuel tank", "2 x 500 L");
    inner.addDevice("fuel tank", "spare");
    EXPECT_EQ(inner.cabinName(), "Engine room");
    ASSERT_EQ(inner.count(), 2u);
    EXPECT_EQ(inner.deviceCountAt(0), "2 x 500 L");
    EXPECT_EQ(inner.deviceNameAt(1), "fuel tank");

    Region cabin;
    harq::Firecard card;
    card.setCenter(&cabin);
    card.setPassage("ladder 3");
    card.setSmoke("vent aft");
    card.dangerSourceInner() = inner;
    card.addDangerSourceOuter(harq::DeviceList("Store"));
    card.dangerSourceOuterAt(0).addDevice("paint", "4");
    EXPECT_EQ(card.center(), &cabin);
    EXPECT_EQ(card.passage(), "ladder 3");
    EXPECT_EQ(card.smoke(), "vent aft");
    EXPECT_EQ(card.oil(), "");
    EXPECT_EQ(card.dangerSourceInner().count(), 2u);
    ASSERT_EQ(card.dangerSourceOuterCount(), 1u);
    EXPECT_EQ(card.dangerSourceOuterAt(0).deviceNameAt(0), "paint");

    inner.clear();
    EXPECT_EQ(inner.count(), 0u);
}

using FirecardDeathTest = testing::Test;

TEST_F(FirecardDeathTest, IndicesAreChecked)
{
    harq::DeviceList list("c");
    EXPECT_DEATH(list.deviceNameAt(0), "\"ix < devices_.size\\(\\)\" in .*harq::DeviceList::deviceNameAt.*firecard.cpp");
    EXPECT_DEATH(list.deviceCountAt(0), "\"ix < devices_.size\\(\\)\" in .*harq::DeviceList::deviceCountAt");
    harq::Firecard card;
    EXPECT_DEATH(card.dangerSourceOuterAt(0),
                 "\"ix < ds_outer_.size\\(\\)\" in harq::DeviceList& harq::Firecard::dangerSourceOuterAt");
}
