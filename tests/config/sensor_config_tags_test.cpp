// Sensor style cases of the edition with tags only: the icon folder comes from the file.
#include "config/sensor_config.h"

#include "deployment.h"
#include "sensor_style_loading.h"

#include <gtest/gtest.h>

TEST(SensorConfig, MissingIconFolderFindsNothing)
{
    const Deployment deployment;
    deployment.icon("sensor_orphan.png", Qt::red, 8);
    deployment.removeIcons();
    loadWithIcons(deployment, "sensor = {}\n");
    EXPECT_TRUE(SensorConfig::instance().icon("sensor_orphan.png").isNull());

    // The folder is taken before the file is read, so a failing load still moves it.
    const Deployment other;
    other.icon("sensor_moved.png", Qt::red, 8);
    const QString broken = other.config("broken.lua", "x = = 1\n");
    EXPECT_FALSE(errorOf([&] { SensorConfig::instance().loadStyle(broken); }).isEmpty());
    EXPECT_FALSE(SensorConfig::instance().icon("sensor_moved.png").isNull());
}
