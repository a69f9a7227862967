#include "ship_fixture.h"

#include "config/damage_config.h"
#include "config/region_config.h"
#include "config/sensor_config.h"
#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "graphics/mark_sensor_graphic.h"
#include "graphics/reaction_region.h"
#include "graphics/region_reaction_layer.h"
#include "graphics/sensor_layer.h"
#include "view/deck_scene.h"
#include "view/opacity_animation.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cmath>

namespace benchship {

namespace {

const char* const kConfigDir = KELVANE_SHIP_DIR "/config";
const char* const kDrawing = KELVANE_SHIP_DIR "/decks/d3_main.svg";
// The sample main deck is 2400 x 600 units; four times that gives 2,000 sensors
// a 96 x 120 unit cell each, more than their 40-unit icons.
constexpr qreal kEnlarge = 4.0;
constexpr qreal kDrawingWidth = 2400;
constexpr qreal kDrawingHeight = 600;
// Sensors and compartments in rows across the deck, as long as it is wide.
constexpr int kRowsPerColumnRatio = 4;
const char* const kSensorGroup = "fire";

// Columns of a grid of `count` cells over an area `kRowsPerColumnRatio` times wider than high.
int columnsFor(int count)
{
    return std::max(1, int(std::ceil(std::sqrt(double(count) * kRowsPerColumnRatio))));
}

QRectF cell(int i, int count)
{
    const int columns = columnsFor(count);
    const int rows = (count + columns - 1) / columns;
    const QRectF area = deckArea();
    const qreal w = area.width() / columns;
    const qreal h = area.height() / rows;
    return QRectF(area.left() + (i % columns) * w, area.top() + (i / columns) * h, w, h);
}

} // namespace

void loadSampleStyles()
{
    const QDir config(QString::fromUtf8(kConfigDir));
    RegionConfig::instance().loadStyle(config.filePath(QStringLiteral("region.lua")));
    SensorConfig::instance().loadStyle(config.filePath(QStringLiteral("sensor.lua")));
    DamageConfig::instance().loadStyle(config.filePath(QStringLiteral("damage.lua")));
}

QRectF deckArea()
{
    return QRectF(0, 0, kDrawingWidth * kEnlarge, kDrawingHeight * kEnlarge);
}

QString writeDeckDrawing(const QString& folder)
{
    QFile in(QString::fromUtf8(kDrawing));
    in.open(QIODevice::ReadOnly);
    QString svg = QString::fromUtf8(in.readAll());
    // The view box keeps the drawing's own units; width and height scale it.
    svg.replace(QRegularExpression(QStringLiteral("width=\"%1\" height=\"%2\"")
                                       .arg(kDrawingWidth)
                                       .arg(kDrawingHeight)),
                QStringLiteral("width=\"%1\" height=\"%2\"")
                    .arg(kDrawingWidth * kEnlarge)
                    .arg(kDrawingHeight * kEnlarge));
    const QString path = QDir(folder).filePath(QStringLiteral("deck.svg"));
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(svg.toUtf8());
    return path;
}

QString stateTag(int i)
{
    return QStringLiteral("D3-SMK-%1").arg(i, 4, 10, QLatin1Char('0'));
}

std::unique_ptr<harq::Deck> buildDeck(int sensors, int compartments, bool offerAll)
{
    auto deck = std::make_unique<harq::Deck>(3);
    deck->setName(QStringLiteral("主甲板"));
    const auto fire = SensorConfig::instance().viewGroupByGroup(QString::fromLatin1(kSensorGroup));
    for (int i = 0; i < sensors; ++i) {
        auto* sensor = new harq::Sensor;
        sensor->setID(quint64(i + 1));
        sensor->setName(QStringLiteral("烟感%1").arg(i + 1));
        sensor->setCode(QStringLiteral("SD3-%1").arg(i + 1));
        sensor->setPos(cell(i, sensors).center());
        sensor->setViewGroup(fire);
        auto* item = new harq::SensorItem;
        item->setTag(stateTag(i));
        item->setConfirmTag(stateTag(i) + QStringLiteral(".ACK"));
        item->setIcon(QStringLiteral("smoke_detector.svg"), QStringLiteral("smoke_detector_alarm.svg"));
        item->initCheck();
        sensor->addItem(item);
        deck->addSensor(sensor);
    }
    const auto cabin = RegionConfig::instance().srViewGroup(harq::Region::CabinType);
    for (int i = 0; i < compartments; ++i) {
        auto* region = new harq::Region;
        region->setID(quint64(i + 1));
        region->setName(QStringLiteral("舱室%1").arg(i + 1));
        region->setCode(QStringLiteral("3-%1").arg(i + 1));
        region->setType(harq::Region::CabinType);
        region->setViewGroup(cabin);
        region->setRegionPath(QPolygonF(cell(i, compartments)));
        deck->addRegion(region);
        region->setDeck(deck.get());
    }
    for (harq::Region* region : deck->regions()) {
        const QRectF bounds = region->regionPath().boundingRect();
        for (harq::Sensor* sensor : deck->sensors()) {
            if (offerAll || bounds.contains(sensor->point()))
                region->associateSensor(sensor);
        }
    }
    return deck;
}

void showDeck(DeckScene& scene, harq::Deck& deck, const QString& drawing)
{
    scene.setDeck(deck.name(), drawing);
    auto* regions = new RegionReactionLayer;
    scene.addItem(regions);
    for (harq::Region* region : deck.regions())
        regions->addRegion(new ReactionRegion(region));
    auto* sensors = new SensorLayer;
    scene.addItem(sensors);
    for (harq::Sensor* sensor : deck.sensors()) {
        auto* graphic = new MarkSensorGraphic;
        graphic->setSensor(sensor);
        graphic->acceptAnimotion(new OpacityAnimation);
        sensors->addSensor(graphic);
    }
}

} // namespace benchship
