// Model cases of the maintenance edition only: outlines re-associate the deck's
// sensors, kinds hold their equipment, items stay unchecked until the host checks them.
#include "entity/deck.h"
#include "entity/equipment.h"
#include "entity/equipment_classifier.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "model_helpers.h"

#include <gtest/gtest.h>

#include <memory>

using harq::DamageResponse;
using harq::Equipment;
using harq::EquipmentClassifier;
using harq::Region;
using harq::Sensor;
using harq::SensorItem;
using harq::ViewGroup;
using model_test::RegionListener;
using model_test::sensorAt;
using model_test::setAbnormal;
using model_test::square;

TEST(Region, NewOutlineReassociatesTheDeckSensors)
{
    harq::Deck deck;
    auto* region = new Region;
    region->setViewGroup(new ViewGroup("cabin", "C", DamageResponse::FIRE));
    deck.addRegion(region);
    region->setDeck(&deck);
    Sensor* inside = sensorAt(QPointF(5, 5), DamageResponse::FIRE, "I");
    Sensor* later = sensorAt(QPointF(25, 5), DamageResponse::FIRE, "L");
    deck.addSensor(inside);
    deck.addSensor(later);

    QStringList order;
    QObject::connect(region, &Region::regionPathChanged, [&order] { order << "path"; });
    QObject::connect(region, &Region::alarmChanged, [&order](int alarms) { order << QString::number(alarms); });
    region->setRegionPath(square);
    region->setRegionPath(square); // a second re-association must not add a second connection
    EXPECT_EQ(order, QStringList({"path", "path"}));

    order.clear();
    setAbnormal(*inside, true);
    setAbnormal(*later, true);
    EXPECT_EQ(order, QStringList({"1"}));

    order.clear();
    region->setRegionPath(QPolygonF(QRectF(0, 0, 30, 10)));
    setAbnormal(*inside, false);
    EXPECT_EQ(order, QStringList({"path", "1"})) << "the sensor now inside counts";
}

TEST(Region, ReassociationNeedsADeck)
{
    Region region;
    region.setViewGroup(new ViewGroup("cabin", "C", DamageResponse::FIRE));
    region.setRegionPath(square);
    std::unique_ptr<Sensor> sensor(sensorAt(QPointF(5, 5), DamageResponse::FIRE, "T"));
    region.associateSensor(sensor.get());
    region.reassociateSensor();
    RegionListener listener(region);
    setAbnormal(*sensor, true);
    EXPECT_EQ(listener.take(), QStringList({"damage", "alarm 1"})) << "without a deck the list stays";
}

TEST(EquipmentClassifier, HeldEquipmentLivesAsLongAsTheKind)
{
    auto equipment = std::make_shared<Equipment>();
    std::weak_ptr<Equipment> watch = equipment;
    {
        EquipmentClassifier kind;
        kind.holdEquipment(std::move(equipment));
        ASSERT_EQ(kind.equipments().size(), 1u);
        EXPECT_FALSE(watch.expired());
    }
    EXPECT_TRUE(watch.expired());
}

TEST(Sensor, AddingLeavesItemsUnchecked)
{
    Sensor sensor;
    auto* item = new SensorItem;
    item->setTag("T");
    item->onPrimaryValueChanged(50.0);
    sensor.addItem(item);
    EXPECT_EQ(item->value(), 50.0);
    EXPECT_TRUE(item->isStateItem()) << "not classified until initCheck()";
    EXPECT_FALSE(sensor.isNormal());
}
