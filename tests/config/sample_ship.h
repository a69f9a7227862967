#pragma once

#include <QPixmap>
#include <QString>

// Where the sample ship's files are, for the tests that read them.
namespace sample_ship {

inline const QString kShip = QStringLiteral(KELVANE_SAMPLE_SHIP_DIR);

/// Path of the sample ship's configuration file \a file.
inline QString sample(const QString& file)
{
    return kShip + "/config/" + file;
}

/// True when the sample ship's icon \a name loads as a picture.
inline bool iconLoads(const QString& name)
{
    return !QPixmap(kShip + "/icons/" + name).isNull();
}

} // namespace sample_ship
