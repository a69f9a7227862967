#include "config/sensor_config.h"
#include "edition_steps.h"

#include <QString>

void giveAlarmAnimation(SensorGraphic*)
{
}

void useIconFolder(const QString& folder)
{
    SensorConfig::instance().setIconPath(folder);
}
