#include "config/damage_config.h"
#include "config/region_config.h"
#include "config/sensor_config.h"

#include "sample_ship.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

namespace {

using sample_ship::iconLoads;
using sample_ship::kShip;
using sample_ship::sample;

TEST(SampleShip, RegionTypesAndPens)
{
    RegionConfig& config = RegionConfig::instance();
    config.loadStyle(sample("region.lua"));
    EXPECT_EQ(config.hoverColor(), QColor("#00FFFF"));
    for (int type = 0; type < RegionConfig::kRegionTypes; ++type) {
        EXPECT_FALSE(config.srName(type).isEmpty()) << type;
        EXPECT_EQ(config.srType(config.srName(type)), type);
        EXPECT_TRUE(iconLoads(config.srIconName(type))) << config.srIconName(type).toStdString();
    }
    EXPECT_EQ(config.srName(1), "舱室");
    EXPECT_DOUBLE_EQ(config.pathEditPen().widthF(), 4.0);
    EXPECT_DOUBLE_EQ(config.pathTracePen().widthF(), 2.0);
}

TEST(SampleShip, SensorStyleAndIcons)
{
    SensorConfig& config = SensorConfig::instance();
#ifdef KELVANE_MAINTENANCE
    config.setIconPath(kShip + "/icons");
#endif
    config.loadStyle(sample("sensor.lua"));
    EXPECT_DOUBLE_EQ(config.width(), 40.0);
    EXPECT_EQ(config.stateColor(0), QColor(Qt::red));
    ASSERT_EQ(config.viewGroups().size(), 4);
#ifndef KELVANE_MAINTENANCE
    EXPECT_TRUE(config.viewGroupByGroup("fire")->isResponseFire());
    EXPECT_TRUE(config.viewGroupByGroup("flooding")->isResponseSink());
    EXPECT_TRUE(config.viewGroupByGroup("abandon")->isResponseAbandon());
    EXPECT_EQ(config.viewGroupByName("火灾探测"), config.viewGroupByGroup("fire"));
#endif
    for (const char* base : {"smoke_detector", "heat_detector", "temperature_gauge", "level_gauge", "abandon_button"}) {
        EXPECT_FALSE(config.icon(QString(base) + ".svg").isNull()) << base;
        EXPECT_FALSE(config.icon(QString(base) + "_alarm.svg").isNull()) << base;
    }
}

TEST(SampleShip, DamageColours)
{
    DamageConfig& config = DamageConfig::instance();
    config.loadStyle(sample("damage.lua"));
    EXPECT_EQ(config.showTime(), 500);
    EXPECT_EQ(config.response(harq::DamageResponse::FIRE)->color(), QColor(Qt::red));
    EXPECT_EQ(config.response(harq::DamageResponse::SINK)->name(), "进水");
    EXPECT_TRUE(config.response(harq::DamageResponse::ABANDON)->color().isValid());
    EXPECT_EQ(config.response(harq::DamageResponse::ALL)->response(), 7);
}

} // namespace
