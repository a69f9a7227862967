// Sensor style cases of the maintenance edition only: the host names the icon folder.
#include "config/sensor_config.h"

#include "deployment.h"

#include <gtest/gtest.h>

TEST(SensorConfig, LoadingLeavesTheIconFolderAlone)
{
    const Deployment deployment;
    deployment.icon("sensor_told.png", Qt::red, 8);
    SensorConfig& config = SensorConfig::instance();
    config.setIconPath(deployment.iconsPath());
    const Deployment elsewhere;
    config.loadStyle(elsewhere.config("sensor.lua", "sensor = {}\n"));
    EXPECT_FALSE(config.icon("sensor_told.png").isNull());
}
