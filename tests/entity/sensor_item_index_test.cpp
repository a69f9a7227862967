#include "entity/sensor_item_index.h"

#include "entity/deck.h"
#include "entity/sensor.h"
#include "model_helpers.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using harq::Deck;
using harq::Sensor;
using harq::SensorItem;
using harq::SensorItemIndex;
using model_test::valueItem;

namespace {

// A deck with a sensor of two items (A, B acknowledged on ACK) and one of one item (A again).
void fill(Deck& deck)
{
    auto* first = new Sensor;
    first->addItem(valueItem("A"));
    SensorItem* b = valueItem("B");
    b->setConfirmTag("ACK");
    first->addItem(b);
    deck.addSensor(first);
    auto* second = new Sensor;
    second->addItem(valueItem("A"));
    deck.addSensor(second);
}

} // namespace

TEST(SensorItemIndex, DispatchReachesOnlyTheFollowingItems)
{
    Deck deck;
    fill(deck);
    const SensorItemIndex index(deck);
    EXPECT_EQ(index.nameCount(), 3);
    SensorItem* a1 = deck.sensors()[0]->itemAt(0);
    SensorItem* b = deck.sensors()[0]->itemAt(1);
    SensorItem* a2 = deck.sensors()[1]->itemAt(0);
    EXPECT_EQ(index.items("A"), QList<SensorItem*>({a1, a2}));

    QSignalSpy bValues(b, &SensorItem::valueChanged);
    EXPECT_EQ(index.dispatch("A", 7.0), 2);
    EXPECT_EQ(a1->valuePrimary(), 7.0);
    EXPECT_EQ(a2->valuePrimary(), 7.0);
    EXPECT_EQ(bValues.count(), 0);

    EXPECT_EQ(index.dispatch("B", 20.0), 1);
    EXPECT_TRUE(b->needConfirm());
    EXPECT_EQ(index.dispatch("ACK", 1.0), 1);
    EXPECT_FALSE(b->needConfirm());
    EXPECT_EQ(b->valuePrimary(), 20.0) << "the acknowledgement is no value";

    EXPECT_EQ(index.dispatch("a", 1.0), 0);
    EXPECT_EQ(index.dispatch("", 1.0), 0) << "items without an acknowledgement tag are not indexed under it";
    EXPECT_FALSE(index.contains(""));
}

TEST(SensorItemIndex, SpansDecksAndSkipsDestroyedItems)
{
    Deck upper;
    Deck lower;
    fill(upper);
    fill(lower);
    SensorItemIndex index(std::vector<Deck*>{&upper, nullptr, &lower});
    EXPECT_EQ(index.items("A").size(), 4);

    lower.clearSensor();
    EXPECT_EQ(index.items("A").size(), 2);
    EXPECT_EQ(index.dispatch("A", 3.0), 2);
    EXPECT_EQ(index.dispatch("ACK", 1.0), 1);

    index.clear();
    EXPECT_EQ(index.nameCount(), 0);
    EXPECT_EQ(index.dispatch("A", 4.0), 0);
}

TEST(SensorItemIndex, SameNameForValueAndAcknowledgementIsTheValue)
{
    Deck deck;
    auto* sensor = new Sensor;
    SensorItem* item = valueItem("X");
    item->setConfirmTag("X");
    sensor->addItem(item);
    deck.addSensor(sensor);
    const SensorItemIndex index(deck);
    EXPECT_EQ(index.dispatch("X", 42.0), 1);
    EXPECT_EQ(item->valuePrimary(), 42.0);
    EXPECT_TRUE(item->needConfirm());
}
