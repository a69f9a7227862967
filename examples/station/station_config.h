#pragma once

#include <QString>

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

} // namespace stationconfig
