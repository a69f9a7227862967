#include "entity/sensor_item.h"

#include "entity/value_transform.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <limits>

using harq::SensorItem;

class SensorItemSignals : public testing::Test
{
protected:
    void SetUp() override
    {
        item.setTag("T1");
        item.setConfirmTag("T1.ACK");
        item.setLow(10.0);
        item.setHigh(20.0);
        item.initCheck();
        connect();
    }

    void connect()
    {
        QObject::connect(&item, &SensorItem::valueChanged, &listener, [this](SensorItem* self) {
            EXPECT_EQ(self, &item);
            order << "value";
        });
        QObject::connect(&item, &SensorItem::stateChanged, &listener, [this](SensorItem* self) {
            EXPECT_EQ(self, &item);
            order << "state";
        });
    }

    SensorItem item;
    QObject listener;
    QStringList order;
};

TEST_F(SensorItemSignals, TurningAbnormalAwaitsAcknowledgement)
{
    item.setValue("T1", 25.0);
    EXPECT_EQ(order, QStringList({"value", "value", "state"}));
    EXPECT_TRUE(item.isAbnormal());
    EXPECT_TRUE(item.needConfirm());

    order.clear();
    item.setValue("T1", 30.0);
    EXPECT_EQ(order, QStringList({"value"})) << "abnormal to abnormal is no state change";
    EXPECT_TRUE(item.needConfirm());

    order.clear();
    item.setValue("T1", 15.0);
    EXPECT_EQ(order, QStringList({"value", "value", "state"}));
    EXPECT_TRUE(item.isNormal());
    EXPECT_FALSE(item.needConfirm());
}

TEST_F(SensorItemSignals, AcknowledgementFollowsItsOwnTag)
{
    item.setValue("T1", 25.0);
    order.clear();

    item.setValue("T1.ACK", 1.0);
    EXPECT_FALSE(item.needConfirm());
    item.setValue("T1.ACK", 0.0);
    EXPECT_TRUE(item.needConfirm());
    item.setValue("T1.ACK", std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(item.needConfirm());
    EXPECT_EQ(order, QStringList({"value", "value", "value"}));
    EXPECT_TRUE(item.isAbnormal()) << "acknowledging never changes the state";

    order.clear();
    item.setValue("t1", 15.0);
    item.setValue("OTHER", 1.0);
    EXPECT_TRUE(order.isEmpty());
    EXPECT_EQ(item.valuePrimary(), 25.0);
}

TEST_F(SensorItemSignals, FirstUpdateOfZeroIsNoChange)
{
    EXPECT_EQ(item.value(), 15.0) << "a checked item sits mid-band";
    EXPECT_EQ(item.valuePrimary(), 0.0);
    item.setValue("T1", 0.0);
    EXPECT_TRUE(order.isEmpty());
    EXPECT_EQ(item.value(), 15.0);
    EXPECT_TRUE(item.isNormal());
}

TEST(SensorItem, LimitsAreStrictButStagesInclusive)
{
    SensorItem item;
    item.setTag("T");
    item.setLowLow(0.0);
    item.setLow(10.0);
    item.setHigh(20.0);
    item.setHighHigh(30.0);
    item.initCheck();
    ASSERT_TRUE(item.isValueItem());

    struct Case {
        double v;
        bool normal;
        harq::ValueStage stage;
        const char* tip;
    };
    const Case cases[] = {
        {-1.0, false, harq::LOWLOW, "超低低限"}, {0.0, false, harq::LOW, "超低限"},
        {5.0, false, harq::LOW, "超低限"},       {10.0, false, harq::NORMAL, "正常"},
        {15.0, true, harq::NORMAL, "正常"},      {20.0, false, harq::NORMAL, "正常"},
        {25.0, false, harq::HIGH, "超高限"},     {30.0, false, harq::HIGH, "超高限"},
        {31.0, false, harq::HIGHHIGH, "超高高限"},
    };
    for (const Case& c : cases) {
        item.setValue("T", c.v);
        EXPECT_EQ(item.isNormal(), c.normal) << c.v;
        EXPECT_EQ(item.itemStage(), c.stage) << c.v;
        EXPECT_EQ(item.toolTip(), QString::fromUtf8(c.tip)) << c.v;
    }
}

TEST(SensorItem, ClassificationAndStateTips)
{
    SensorItem item;
    item.setIcon("", "alarm.png");
    item.initCheck();
    EXPECT_TRUE(item.isStateItem()) << "one icon makes a state item";
    EXPECT_EQ(item.toolTip(), "") << "the normal icon is empty";

    item.setIcon("door.closed.png", "smoke");
    item.setTag("S");
    EXPECT_EQ(item.toolTip(), "closed");
    EXPECT_EQ(item.iconName(), "door.closed.png");
    item.setValue("S", 1.0);
    EXPECT_TRUE(item.isAbnormal()) << "a state item is abnormal at 1 with the default limits";
    EXPECT_EQ(item.toolTip(), "smoke");
    EXPECT_EQ(item.iconName(), "smoke");
    EXPECT_EQ(item.normalIconName(), "door.closed.png");
    EXPECT_EQ(item.abnormalIconName(), "smoke");
}

TEST(SensorItem, TransformAndPrecision)
{
    SensorItem item;
    item.setTag("P");
    item.setLow(0.0);
    item.setHigh(100.0);
    item.setValueTrans(new harq::ValueTransform("(0.5 1) (10 0)"));
    item.initCheck();
    item.setValue("P", 5.0);
    EXPECT_EQ(item.valuePrimary(), 5.0);
    EXPECT_EQ(item.value(), 12.5);
    EXPECT_EQ(item.valueStr(), "12.500");
    item.setPrecisionWidth(1);
    EXPECT_EQ(item.valueStr(), "12.5");

    item.setValueTrans(nullptr);
    item.setValue("P", 7.0);
    EXPECT_EQ(item.value(), 7.0) << "without a transform the raw value is kept";
}
