#include "entity/deck.h"

#include "entity/equipment.h"
#include "entity/firecard.h"
#include "entity/neighbour.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/view_group.h"
#include "kelvane_edition.h"
#include "model_helpers.h"

#include <gtest/gtest.h>

#include <QMetaType>
#include <QSignalSpy>

#include <algorithm>
#include <memory>

using harq::DamageResponse;
using harq::Deck;
using harq::Region;
using harq::Sensor;
using harq::ViewGroup;
using model_test::regionOf;
using model_test::sensorAt;
using model_test::setAbnormal;
using model_test::square;

namespace {

#ifdef KELVANE_MAINTENANCE
// Nothing in this edition connects sensors to their deck; a host does it like this.
void follow(Deck& deck, Sensor* sensor)
{
    QObject::connect(sensor, &Sensor::sensorStateChanged, &deck, &Deck::onSensorStateChanged);
}
#else
void follow(Deck&, Sensor*)
{
}
#endif

} // namespace

TEST(Deck, EmptyDeck)
{
    const Deck deck(42);
    EXPECT_EQ(deck.id(), 42u);
    EXPECT_EQ(deck.level(), 0);
    EXPECT_EQ(deck.sensorCount(), 0);
    EXPECT_EQ(deck.normalSensorCount(), 0);
    EXPECT_EQ(deck.abnormalSensorCount(), 0);
    EXPECT_TRUE(deck.regionTypes().isEmpty());
    EXPECT_TRUE(deck.stateViewGroup().isEmpty());
    EXPECT_EQ(deck.regionByID(1), nullptr);
#ifndef KELVANE_MAINTENANCE
    EXPECT_EQ(deck.cabinAtPos(QPointF(1, 1)), nullptr);
#endif
}

TEST(Deck, EmitsOnlyWhenTheNormalCountChanges)
{
    Deck deck;
    QSignalSpy changes(&deck, &Deck::sensorStateChanged);
    Sensor* first = sensorAt(QPointF(1, 1), DamageResponse::FIRE, "A");
    first->addItem(model_test::valueItem("A2"));
    Sensor* broken = sensorAt(QPointF(2, 2), DamageResponse::FIRE, "B");
    setAbnormal(*broken, true);
    deck.addSensor(first);
    deck.addSensor(broken);
    follow(deck, first);
    follow(deck, broken);
    EXPECT_EQ(deck.normalSensorCount(), 1) << "the abnormal sensor is not counted";
    EXPECT_EQ(deck.abnormalSensorCount(), 1);
    EXPECT_EQ(changes.count(), 0) << "adding is silent";
#ifndef KELVANE_MAINTENANCE
    EXPECT_EQ(first->deck(), &deck);
#endif

    setAbnormal(*first, true);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).value<Deck*>(), &deck);
    EXPECT_EQ(deck.normalSensorCount(), 0);

    setAbnormal(*first, true, 1);
    EXPECT_EQ(changes.count(), 1) << "a second abnormal item of an abnormal sensor";
    setAbnormal(*first, false, 1);
    EXPECT_EQ(changes.count(), 1);

    setAbnormal(*first, false);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(deck.normalSensorCount(), 1);

    deck.clearSensor();
    EXPECT_EQ(deck.normalSensorCount(), 0);
    EXPECT_EQ(deck.sensorCount(), 0);
    EXPECT_EQ(changes.count(), 2) << "clearing is silent";
}

TEST(Deck, AddingTheSameObjectTwiceKeepsOneOwner)
{
    Deck deck;
    Sensor* sensor = sensorAt(QPointF(), DamageResponse::FIRE, "A");
    deck.addSensor(sensor);
    deck.addSensor(sensor);
    auto* region = new Region;
    deck.addRegion(region);
    deck.addRegion(region);
    EXPECT_EQ(deck.sensorCount(), 1);
    EXPECT_EQ(deck.normalSensorCount(), 1);
    EXPECT_EQ(deck.regions().size(), 1);
    // Destroying the deck must delete each object once.
}

TEST(Deck, SensorCheckRecountsSilently)
{
    Deck deck;
    QSignalSpy changes(&deck, &Deck::sensorStateChanged);
    Sensor* sensor = sensorAt(QPointF(1, 1), DamageResponse::FIRE, "A");
    deck.addSensor(sensor);
    // Disconnected, the state change reaches nobody and the count goes stale.
    sensor->disconnect(&deck);
    setAbnormal(*sensor, true);
    EXPECT_EQ(deck.normalSensorCount(), 1);
    deck.sensorCheck();
    EXPECT_EQ(deck.normalSensorCount(), 0);
    EXPECT_EQ(changes.count(), 0);
}

TEST(Deck, ForwardsRegionDamageAndRecovery)
{
    Deck deck;
    Region* cabin = regionOf(Region::CabinType, 1, square);
    deck.addRegion(cabin);
    cabin->setDeck(&deck);
    EXPECT_EQ(cabin->deck(), &deck);
    Sensor* sensor = sensorAt(QPointF(5, 5), DamageResponse::FIRE, "A");
    deck.addSensor(sensor);
    for (Region* region : deck.regions()) {
        for (Sensor* s : deck.sensors())
            region->associateSensor(s);
    }

    QStringList order;
    QObject::connect(&deck, &Deck::regionDamage, [&order, cabin](Region* r) {
        EXPECT_EQ(r, cabin);
        order << "damage";
    });
    QObject::connect(&deck, &Deck::regionRecover, [&order, cabin](Region* r) {
        EXPECT_EQ(r, cabin);
        order << "recover";
    });
    cabin->setDeck(&deck); // setting it again forwards nothing twice
    setAbnormal(*sensor, true);
    setAbnormal(*sensor, false);
    EXPECT_EQ(order, QStringList({"damage", "recover"}));

    cabin->setDeck(nullptr);
    EXPECT_EQ(cabin->deck(), nullptr);
}

TEST(Deck, RegionMovedToAnotherDeckReportsOnlyThere)
{
    Deck first;
    Deck second;
    Region* cabin = regionOf(Region::CabinType, 1, square);
    first.addRegion(cabin);
    cabin->setDeck(&first);
    Sensor* sensor = sensorAt(QPointF(5, 5), DamageResponse::FIRE, "A");
    first.addSensor(sensor);
    cabin->associateSensor(sensor);
    QSignalSpy firstDamage(&first, &Deck::regionDamage);
    QSignalSpy firstRecover(&first, &Deck::regionRecover);
    QSignalSpy secondDamage(&second, &Deck::regionDamage);
    QSignalSpy secondRecover(&second, &Deck::regionRecover);

    cabin->setDeck(&second);
    cabin->setDeck(&second);
    setAbnormal(*sensor, true);
    setAbnormal(*sensor, false);
    EXPECT_EQ(firstDamage.count() + firstRecover.count(), 0);
    EXPECT_EQ(secondDamage.count(), 1);
    EXPECT_EQ(secondRecover.count(), 1);

    cabin->setDeck(nullptr);
    setAbnormal(*sensor, true);
    EXPECT_EQ(secondDamage.count(), 1) << "a region without a deck reports to none";

    {
        Deck passing;
        cabin->setDeck(&passing);
    }
    EXPECT_EQ(cabin->deck(), nullptr) << "a destroyed deck is forgotten";
    cabin->setDeck(&first);
    setAbnormal(*sensor, false);
    EXPECT_EQ(firstRecover.count(), 1);
}

TEST(Deck, LookupsFollowInsertionOrder)
{
    Deck deck;
    Region* first = regionOf(Region::CabinType, 7, square);
    first->setCode("C1");
    Region* twin = regionOf(Region::CabinType, 7, square.translated(5, 0));
    Region* hall = regionOf(3, 8, QPolygonF(QRectF(-100, -100, 300, 300)));
    for (Region* r : {hall, first, twin})
        deck.addRegion(r);

    EXPECT_EQ(deck.regionByID(7), first);
    EXPECT_EQ(deck.regionByID(9), nullptr);
    EXPECT_EQ(deck.regionByType(Region::CabinType), QList<Region*>({first, twin}));
    QList<int> types = deck.regionTypes();
    std::sort(types.begin(), types.end());
    EXPECT_EQ(types, QList<int>({1, 3}));
    EXPECT_TRUE(deck.hasRegionByCode("C1"));
    EXPECT_FALSE(deck.hasRegionByCode("c1"));
    EXPECT_EQ(deck.regions(), QList<Region*>({hall, first, twin}));
#ifndef KELVANE_MAINTENANCE
    EXPECT_EQ(deck.cabinAtPos(QPointF(7, 5)), first) << "overlapping cabins: the first added wins";
    EXPECT_EQ(deck.cabinAtPos(QPointF(12, 5)), twin);
    EXPECT_EQ(deck.cabinAtPos(QPointF(50, 50)), nullptr) << "only cabins count";
#endif
    deck.clearRegion();
    EXPECT_TRUE(deck.regions().isEmpty());
}

TEST(Deck, SensorsByViewGroupMatchTheGroupCode)
{
    Deck deck;
    Sensor* smoke = sensorAt(QPointF(1, 1), DamageResponse::FIRE, "A", "FIRE");
    smoke->setViewGroup(new ViewGroup("smoke", "FIRE", DamageResponse::FIRE));
    Sensor* heat = sensorAt(QPointF(1, 1), DamageResponse::FIRE, "B", "FIRE");
    heat->setViewGroup(new ViewGroup("heat", "FIRE", DamageResponse::FIRE));
    Sensor* level = sensorAt(QPointF(1, 1), DamageResponse::SINK, "C", "SINK");
    Sensor* loose = sensorAt(QPointF(1, 1), DamageResponse::SINK, "D", "SINK");
    loose->setViewGroup(std::shared_ptr<ViewGroup>());
    for (Sensor* s : {smoke, level, heat, loose})
        deck.addSensor(s);

    EXPECT_EQ(deck.sensorByViewGroup("FIRE"), std::vector<Sensor*>({smoke, heat}));
    EXPECT_TRUE(deck.sensorByViewGroup("smoke").empty()) << "names are not group codes";
    EXPECT_EQ(deck.sensors(), std::vector<Sensor*>({smoke, level, heat, loose}));
}

TEST(Deck, StateViewGroupsListEachGroupOnce)
{
    Deck deck;
    auto stateSensor = [](const QString& group) {
        auto* sensor = new Sensor;
        sensor->setViewGroup(new ViewGroup("vg", group, DamageResponse::FIRE));
        sensor->addItem(model_test::stateItem("S"));
        return sensor;
    };
    deck.addSensor(stateSensor("DOOR"));
    deck.addSensor(sensorAt(QPointF(), DamageResponse::FIRE, "V", "VALUE"));
    deck.addSensor(stateSensor("SMOKE"));
    deck.addSensor(stateSensor("DOOR"));
    auto* empty = new Sensor;
    empty->setViewGroup(new ViewGroup("vg", "EMPTY", DamageResponse::FIRE));
    deck.addSensor(empty);
    Sensor* loose = stateSensor("LOOSE");
    loose->setViewGroup(std::shared_ptr<ViewGroup>());
    deck.addSensor(loose);

    EXPECT_EQ(deck.stateViewGroup(), QStringList({"DOOR", "SMOKE"}));
}

TEST(Deck, ReleasedSensorsAreForgottenByRegions)
{
    Deck deck;
    Region* cabin = regionOf(Region::CabinType, 1, square);
    deck.addRegion(cabin);
    cabin->setDeck(&deck);
    deck.addSensor(sensorAt(QPointF(5, 5), DamageResponse::FIRE, "A"));
    cabin->associateSensor(deck.sensors().front());
    std::unique_ptr<Sensor> visitor(sensorAt(QPointF(6, 6), DamageResponse::FIRE, "V"));
    cabin->associateSensor(visitor.get());
    setAbnormal(*deck.sensors().front(), true);

    deck.clearSensor();
    QSignalSpy alarms(cabin, &Region::alarmChanged);
    setAbnormal(*visitor, true);
    ASSERT_EQ(alarms.count(), 1);
    EXPECT_EQ(alarms.at(0).at(0).toInt(), 1) << "only the remaining sensor counts";
}

TEST(Deck, ReleasedRegionsAreForgottenByEquipmentNeighboursAndFireCards)
{
    Deck deck;
    Region* cabin = regionOf(Region::CabinType, 1, square);
    Region* store = regionOf(Region::CabinType, 2, square.translated(20, 0));
    deck.addRegion(cabin);
    deck.addRegion(store);
    Deck upper;
    Region* above = regionOf(Region::CabinType, 3, square);
    upper.addRegion(above);

    harq::Neighbour* aboveLists = above->neighbour();
    aboveLists->addNeighbour(cabin, harq::DOWN);
    aboveLists->addNeighbour(store, harq::DOWN);
    aboveLists->addNeighbour(store, harq::LEFT);
    harq::Neighbour cabinLists;
    cabinLists.setCenter(cabin);
    cabinLists.addNeighbour(above, harq::UP);
    harq::Equipment pump;
    pump.setCabin(store);
    harq::Equipment hose;
    hose.setCabin(cabin);
    hose.setCabin(above);
    harq::Firecard card;
    card.setCenter(cabin);

    deck.clearRegion();
    EXPECT_EQ(aboveLists->neighbourCount(harq::DOWN), 0u);
    EXPECT_EQ(aboveLists->neighbourCount(harq::LEFT), 0u);
    EXPECT_EQ(cabinLists.center(), nullptr);
    ASSERT_EQ(cabinLists.neighbourCount(harq::UP), 1u);
    EXPECT_EQ(cabinLists.neighbourAt(harq::UP, 0), above);
    EXPECT_EQ(pump.cabin(), nullptr);
    EXPECT_EQ(hose.cabin(), above) << "a cabin set before is no longer followed";
    EXPECT_EQ(card.center(), nullptr);
}

TEST(Deck, ModelPointersAreRegisteredMetaTypes)
{
    // The id a queued connection finds for a type's name; Qt 6 renamed the lookup.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const auto typeIdNamed = [](const char* name) { return QMetaType::fromName(name).id(); };
#else
    const auto typeIdNamed = [](const char* name) { return QMetaType::type(name); };
#endif
    for (const char* name : {"harq::Deck*", "harq::Sensor*", "harq::SensorItem*", "harq::Region*"})
        EXPECT_NE(typeIdNamed(name), int(QMetaType::UnknownType)) << name;
    EXPECT_EQ(typeIdNamed("harq::Deck*"), qMetaTypeId<Deck*>());
}

TEST(Deck, ModelSignalsQueueBySignature)
{
    // A queued connection by signature fails unless the argument types are registered by name.
    Deck deck;
    Region region;
    Sensor sensor;
    QObject receiver;
    EXPECT_TRUE(QObject::connect(&deck, SIGNAL(sensorStateChanged(harq::Deck*)), &receiver, SLOT(deleteLater()),
                                 Qt::QueuedConnection));
    EXPECT_TRUE(QObject::connect(&region, SIGNAL(damage(harq::Region*)), &receiver, SLOT(deleteLater()),
                                 Qt::QueuedConnection));
    if constexpr (kelvane::kMaintenanceEdition)
        EXPECT_TRUE(QObject::connect(&sensor, SIGNAL(sensorStateChanged(harq::Sensor*)), &receiver,
                                     SLOT(deleteLater()), Qt::QueuedConnection));
    else
        EXPECT_TRUE(QObject::connect(&sensor, SIGNAL(sensorStateChanged(harq::Sensor*, harq::SensorItem*)),
                                     &receiver, SLOT(deleteLater()), Qt::QueuedConnection));
}

using DeckDeathTest = testing::Test;

TEST_F(DeckDeathTest, PreconditionsStopTheProcess)
{
    Deck deck;
    EXPECT_DEATH(deck.addSensor(nullptr), "\"sensor\" in void harq::Deck::addSensor\\(harq::Sensor\\*\\) .*deck.cpp");
    EXPECT_DEATH(deck.addRegion(nullptr), "\"region\" in void harq::Deck::addRegion\\(harq::Region\\*\\)");
}
