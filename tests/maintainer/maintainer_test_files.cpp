#include "maintainer_test_files.h"

#include "config/damage_config.h"
#include "config/region_config.h"
#include "config/sensor_config.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

namespace maintainertest {

QString copySampleShip(const QTemporaryDir& dir)
{
    const QDir sample(QStringLiteral(KELVANE_SHIP_DIR));
    QDir(dir.path()).mkpath(QStringLiteral("decks"));
    const QDir decks(sample.filePath(QStringLiteral("decks")));
    for (const QString& drawing : decks.entryList({QStringLiteral("*.svg")}, QDir::Files))
        QFile::copy(decks.filePath(drawing), dir.filePath(QStringLiteral("decks/") + drawing));
    const QString ship = dir.filePath(QStringLiteral("ship.json"));
    QFile::copy(sample.filePath(QStringLiteral("ship.json")), ship);
    QFile::setPermissions(ship, QFile::ReadOwner | QFile::WriteOwner);
    return ship;
}

void loadSampleStyles()
{
    const QDir config(QStringLiteral(KELVANE_SHIP_DIR "/config"));
    RegionConfig::instance().loadStyle(config.filePath(QStringLiteral("region.lua")));
    SensorConfig::instance().loadStyle(config.filePath(QStringLiteral("sensor.lua")));
    DamageConfig::instance().loadStyle(config.filePath(QStringLiteral("damage.lua")));
}

QJsonObject readJson(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QJsonObject entry(const QJsonObject& root, const char* list, double id)
{
    for (const QJsonValue& value : root.value(QLatin1String(list)).toArray()) {
        if (value.toObject().value(QStringLiteral("id")).toDouble() == id)
            return value.toObject();
    }
    return {};
}

} // namespace maintainertest
