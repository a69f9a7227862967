// kelvane-host-example: the host of docs/host-guide.md in a few lines.
//
//   kelvane-host-example [--config DIR] [--drawing SVG] [--deck NAME]
//                        [--server ADDRESS:PORT] [--point NAME]... [--snapshot PNG]
//
// Loads the Lua configuration, shows one deck drawing and follows the points'
// values from the data server (tools/dataserver). With --snapshot it renders
// the window once to a PNG file and exits: 0 when the drawing was rendered.

#include "host_window.h"

#include "config/damage_config.h"
#include "config/equipment_config.h"
#include "config/region_config.h"
#include "config/sensor_config.h"
#include "config/tag_config.h"
#include "config/team_config.h"
#include "view/deck_scene.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QGraphicsSvgItem>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

const char* const kShip = KELVANE_EXAMPLE_SHIP_DIR;

/// Every style and catalogue from its file; a broken file throws std::runtime_error.
void loadConfiguration(const QDir& dir)
{
    RegionConfig::instance().loadStyle(dir.filePath(QStringLiteral("region.lua")));
    SensorConfig::instance().loadStyle(dir.filePath(QStringLiteral("sensor.lua")));
    DamageConfig::instance().loadStyle(dir.filePath(QStringLiteral("damage.lua")));
    TeamConfig::instance().loadTeam(dir.filePath(QStringLiteral("team.lua")));
    TagConfig::instance().loadTag(dir.filePath(QStringLiteral("tag.lua")));
    EquipmentConfig::instance().loadConfig(dir.filePath(QStringLiteral("equipment.lua")));
}

bool drawingShown(const DeckScene& scene)
{
    const QList<QGraphicsItem*> items = scene.items();
    return std::any_of(items.cbegin(), items.cend(),
                       [](const QGraphicsItem* item) { return dynamic_cast<const QGraphicsSvgItem*>(item); });
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption config(QStringLiteral("config"), QStringLiteral("Lua configuration folder"),
                                    QStringLiteral("DIR"), QString::fromUtf8(kShip) + QStringLiteral("/config"));
    const QCommandLineOption drawing(QStringLiteral("drawing"), QStringLiteral("deck drawing"), QStringLiteral("SVG"),
                                     QString::fromUtf8(kShip) + QStringLiteral("/decks/d3_main.svg"));
    const QCommandLineOption deck(QStringLiteral("deck"), QStringLiteral("deck name"), QStringLiteral("NAME"),
                                  QStringLiteral("主甲板"));
    const QCommandLineOption server(QStringLiteral("server"), QStringLiteral("data server"),
                                    QStringLiteral("ADDRESS:PORT"), QStringLiteral("127.0.0.1:7300"));
    const QCommandLineOption point(QStringLiteral("point"), QStringLiteral("data point to follow (repeatable)"),
                                   QStringLiteral("NAME"));
    const QCommandLineOption snapshot(QStringLiteral("snapshot"), QStringLiteral("render once to this PNG and exit"),
                                      QStringLiteral("PNG"));
    parser.addOptions({config, drawing, deck, server, point, snapshot});
    parser.process(app);

    try {
        loadConfiguration(QDir(parser.value(config)));
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "kelvane-host-example: %s\n", e.what());
        return 2;
    }
    const QStringList points = parser.isSet(point)
        ? parser.values(point)
        : QStringList{QStringLiteral("D3-SMK-001"), QStringLiteral("D3-SMK-002"), QStringLiteral("D3-ABN-001")};
    HostWindow window(parser.value(deck), parser.value(drawing), points);
    window.resize(1200, 500);

    if (parser.isSet(snapshot)) {
        window.show();
        QCoreApplication::processEvents();
        const bool saved = window.grab().save(parser.value(snapshot));
        if (!drawingShown(*window.scene()) || !saved) {
            std::fprintf(stderr, "kelvane-host-example: the drawing was not rendered\n");
            return 3;
        }
        return 0;
    }
    const QStringList address = parser.value(server).split(QLatin1Char(':'));
    if (address.size() != 2 || !window.follow(address[0], address[1].toUShort())) {
        std::fprintf(stderr, "kelvane-host-example: bad server address %s\n", qUtf8Printable(parser.value(server)));
        return 1;
    }
    window.show();
    return QApplication::exec();
}
