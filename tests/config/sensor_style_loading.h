#pragma once

#include "config/sensor_config.h"

#include "deployment.h"

#include <QByteArray>

/// Points the sensor style at the deployment's icons: the edition with tags
/// finds them beside the configuration file, the maintenance edition is told.
inline void loadWithIcons(const Deployment& deployment, const QByteArray& text)
{
    SensorConfig& config = SensorConfig::instance();
#ifdef KELVANE_MAINTENANCE
    config.setIconPath(deployment.iconsPath() + "//");
#endif
    config.loadStyle(deployment.config("sensor.lua", text));
}
