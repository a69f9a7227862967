#include "entity/sensor.h"

#include "entity/view_group.h"
#include "kelvane_edition.h"
#include "model_helpers.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <memory>

using harq::Sensor;
using harq::SensorItem;
using model_test::setAbnormal;
using model_test::stateItem;
using model_test::valueItem;

TEST(Sensor, WithoutItemsIsNormalAndEmpty)
{
    Sensor sensor;
    EXPECT_TRUE(sensor.isNormal());
    EXPECT_FALSE(sensor.isStateSensor());
    EXPECT_EQ(sensor.toolTip(), "");
    EXPECT_EQ(sensor.iconsName(), QStringList({""}));
    EXPECT_EQ(sensor.defaultIconName(), "");
    ASSERT_NE(sensor.viewGroup(), nullptr);
    EXPECT_EQ(sensor.viewGroup()->name(), "NA");
    EXPECT_EQ(sensor.viewGroup()->group(), "NA");
    EXPECT_EQ(sensor.viewGroup()->responseType(), harq::DamageResponse::NA);
}

TEST(Sensor, KeepsTheFullIdentifierAndPosition)
{
    Sensor sensor;
    const quint64 id = (quint64(1) << 40) + 7;
    sensor.setID(id);
    EXPECT_EQ(sensor.id(), id);

    sensor.setPos(QPointF(3, 4));
    EXPECT_EQ(sensor.position(), QVector3D(3, 4, 0));
    EXPECT_EQ(sensor.point(), QPointF(3, 4));
}

TEST(Sensor, AddedItemsStartNormalAtMidBand)
{
    Sensor sensor;
    auto* item = new SensorItem;
    item->setTag("T");
    item->setLow(10.0);
    item->setHigh(20.0);
    item->onPrimaryValueChanged(50.0);
    if constexpr (kelvane::kMaintenanceEdition)
        item->initCheck(); // this edition leaves checking to the caller
    sensor.addItem(item);
    EXPECT_EQ(item->value(), 15.0);
    EXPECT_EQ(item->valuePrimary(), 0.0);
    EXPECT_TRUE(item->isValueItem());
    EXPECT_TRUE(sensor.isNormal());
    EXPECT_EQ(sensor.itemCount(), 1);
    EXPECT_EQ(sensor.itemAt(0), item);
}

TEST(Sensor, ReEmitsItemStateAndValueChanges)
{
    Sensor sensor;
    sensor.addItem(valueItem("A"));
    sensor.addItem(valueItem("B"));
    QSignalSpy states(&sensor, &Sensor::sensorStateChanged);
    QSignalSpy values(&sensor, &Sensor::itemValueChanged);

    setAbnormal(sensor, true, 1);
    ASSERT_EQ(states.count(), 1);
    EXPECT_EQ(states.at(0).at(0).value<Sensor*>(), &sensor);
    if constexpr (!kelvane::kMaintenanceEdition)
        EXPECT_EQ(states.at(0).at(1).value<SensorItem*>(), sensor.itemAt(1));
    else
        EXPECT_EQ(states.at(0).size(), 1);
    ASSERT_EQ(values.count(), 2);
    EXPECT_EQ(values.at(0).at(0).toInt(), 1);
    EXPECT_FALSE(sensor.isNormal());

    sensor.addItem(sensor.itemAt(0));
    EXPECT_EQ(sensor.itemCount(), 2) << "an item already held is not taken twice";
    values.clear();
    sensor.itemAt(0)->onConfirm(true);
    EXPECT_EQ(values.count(), 1) << "nor followed twice";

    sensor.clearItem();
    EXPECT_EQ(sensor.itemCount(), 0);
    EXPECT_TRUE(sensor.isNormal());
}

TEST(Sensor, AbnormalTextsAndIconsComeFromAbnormalItems)
{
    Sensor sensor;
    auto* low = valueItem("L");
    auto* high = valueItem("H");
    high->setHighHigh(20.0);
    sensor.addItem(stateItem("S"));
    sensor.addItem(low);
    sensor.addItem(high);
    EXPECT_TRUE(sensor.isStateSensor());
    EXPECT_EQ(sensor.toolTip(), "ok");
    EXPECT_EQ(sensor.iconsName(), QStringList({"ok.png"}));

    low->setValue("L", -5.0);
    high->setValue("H", 25.0);
    EXPECT_EQ(sensor.toolTip(), QString::fromUtf8("超低限+超高高限"));
    EXPECT_EQ(sensor.iconsName(), QStringList({"", ""})) << "value items have no icons";

    sensor.itemAt(0)->setValue("S", 1.0);
    EXPECT_EQ(sensor.iconsName(), QStringList({"alarm.png", "", ""}));
    EXPECT_EQ(sensor.defaultIconName(), "ok.png");
    int counted = 0;
    for (auto it = sensor.beginItem(); it != sensor.endItem(); ++it)
        counted += (*it)->isAbnormal() ? 1 : 0;
    EXPECT_EQ(counted, 3);
}

TEST(Sensor, ViewGroupMayBeSharedOrAbsent)
{
    Sensor sensor;
    auto shared = std::make_shared<harq::ViewGroup>("fire", "F", harq::DamageResponse::FIRE);
    sensor.setViewGroup(shared);
    EXPECT_EQ(sensor.viewGroup(), shared.get());
    sensor.setViewGroup(std::shared_ptr<harq::ViewGroup>());
    EXPECT_EQ(sensor.viewGroup(), nullptr);
#ifdef KELVANE_MAINTENANCE
    EXPECT_EQ(sensor.viewGroupGroup(), "");
    sensor.setViewGroup(shared);
    EXPECT_EQ(sensor.viewGroupGroup(), "F");
#else
    sensor.setName("P1");
    sensor.setCode("T01");
    EXPECT_EQ(sensor.nameAndCode(), "P1[T01]");
#endif
}

using SensorDeathTest = testing::Test;

TEST_F(SensorDeathTest, PreconditionsStopTheProcess)
{
    Sensor sensor;
    EXPECT_DEATH(sensor.addItem(nullptr), "\"item\" in void harq::Sensor::addItem\\(harq::SensorItem\\*\\)");
    EXPECT_DEATH(sensor.setViewGroup(static_cast<harq::ViewGroup*>(nullptr)),
                 "\"vg\" in void harq::Sensor::setViewGroup\\(harq::ViewGroup\\*\\)");
    sensor.addItem(valueItem("A"));
    EXPECT_DEATH(sensor.itemAt(1), "\"ix >= 0 && static_cast<std::size_t>\\(ix\\) < items_.size\\(\\)\" in "
                                   "harq::SensorItem\\* harq::Sensor::itemAt\\(int\\) const .*sensor.cpp");
    EXPECT_DEATH(sensor.itemAt(-1), "harq::Sensor::itemAt");
}
