// The sensor style's members that only the maintenance edition has.
#include "config/sensor_config.h"

void SensorConfig::setIconPath(const QString& path)
{
    QString folder = path;
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (!folder.isEmpty())
        folder += QLatin1Char('/');
    icon_path_ = folder;
}
