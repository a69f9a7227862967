#pragma once

#include <QString>

class AlarmSettings;
class Ship;

/// Loading of the station's Lua configuration (region, sensor and damage styles,
/// team, tag and equipment catalogues).
namespace stationconfig {

/// Loads every configuration file of \a dir (region.lua, sensor.lua, damage.lua,
/// team.lua, tag.lua, equipment.lua). False with \a error set when a file is
/// missing or broken.
bool load(const QString& dir, QString* error);

/// Hands the equipment catalogue the picture of every equipment kind of \a ship,
/// read from the icons folder beside the configuration folder \a dir. A missing
/// picture leaves its kind's tags without a picture, as a missing icon does elsewhere.
void addEquipmentPictures(const QString& dir, const Ship& ship);

/// Reads the station's alarm settings from alarm.lua in \a dir into \a settings.
/// A folder without the file leaves the defaults (every alarm of priority
/// "alarm"); a broken file gives false with \a error set.
bool loadAlarmSettings(const QString& dir, AlarmSettings* settings, QString* error);

} // namespace stationconfig
