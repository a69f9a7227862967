#include "station_config.h"

#include "alarm_settings.h"
#include "ship.h"

#include "config/damage_config.h"
#include "config/equipment_config.h"
#include "config/region_config.h"
#include "config/sensor_config.h"
#include "config/tag_config.h"
#include "config/team_config.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>

#include <stdexcept>

namespace stationconfig {

bool load(const QString& dir, QString* error)
{
    const QDir folder(dir);
    try {
        RegionConfig::instance().loadStyle(folder.filePath(QStringLiteral("region.lua")));
        SensorConfig::instance().loadStyle(folder.filePath(QStringLiteral("sensor.lua")));
        DamageConfig::instance().loadStyle(folder.filePath(QStringLiteral("damage.lua")));
        TeamConfig::instance().loadTeam(folder.filePath(QStringLiteral("team.lua")));
        TagConfig::instance().loadTag(folder.filePath(QStringLiteral("tag.lua")));
        EquipmentConfig::instance().loadConfig(folder.filePath(QStringLiteral("equipment.lua")));
    } catch (const std::runtime_error& e) {
        *error = QString::fromUtf8(e.what());
        return false;
    }
    return true;
}

void addEquipmentPictures(const QString& dir, const Ship& ship)
{
    const QDir icons(QDir(dir).filePath(QStringLiteral("../icons")));
    EquipmentConfig& catalogue = EquipmentConfig::instance();
    catalogue.clearPixmap();
    for (const auto& classifier : ship.classifiers())
        catalogue.addEquipment(classifier->name(), QPixmap(icons.filePath(classifier->icon())));
}

bool loadAlarmSettings(const QString& dir, AlarmSettings* settings, QString* error)
{
    const QString path = QDir(dir).filePath(QStringLiteral("alarm.lua"));
    return !QFileInfo::exists(path) || settings->load(path, error);
}

} // namespace stationconfig
