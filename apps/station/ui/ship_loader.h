#pragma once

#include "ship_data.h"

#include <QString>

#include <memory>

class Ship;
class ShipReader;

/// Builds the ship model from a ship file (ship.json, see docs/host-guide.md),
/// which ShipReader checks with the rules the maintainer applies too.
///
/// The region and sensor styles must be loaded first: compartments take their
/// type's name and icon from the region style, sensors their view group from the
/// sensor style. Any fault in the file rejects the whole ship with a message that
/// names the file, the entry, its line and the field; nothing is half loaded.
class ShipLoader
{
public:
    /// The ship, or null with error() telling why.
    std::unique_ptr<Ship> load(const QString& path);
    /// The ship from a file \a reader has opened, or null with error() telling why.
    std::unique_ptr<Ship> load(ShipReader& reader);
    const QString& error() const { return error_; }

    /// True when the loaded sensor style knows the view group \a name.
    static bool knownViewGroup(const QString& name);

private:
    static void addDecks(const ShipData& data, Ship& ship);
    static void addSensors(const ShipData& data, Ship& ship);
    static void addEquipment(const ShipData& data, Ship& ship);
    static void associate(Ship& ship);

    QString error_;
};
