#include "config/damage_config.h"
#include "config/region_config.h"
#include "config/sensor_config.h"
#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/view_group.h"
#include "graphics/damage_boundary.h"
#include "graphics/mark_sensor_graphic.h"
#include "graphics/reaction_region.h"
#include "graphics/region_reaction_layer.h"
#include "graphics/sensor_layer.h"
#include "view/deck_scene.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using harq::DamageResponse;

namespace {

/// The styles and the deck drawing of data/ copied to a temporary folder
/// laid out as config/ beside icons/.
class Station
{
public:
    Station()
    {
        QDir root(dir_.path());
        root.mkpath("config");
        root.mkpath("icons");
        const QString lua = root.filePath("config/station.lua");
        QFile::copy(QFINDTESTDATA("data/config/station.lua"), lua);
        QFile::copy(QFINDTESTDATA("data/icons/station_detector.svg"), root.filePath("icons/station_detector.svg"));
        QFile::copy(QFINDTESTDATA("data/deck.svg"), deckFile());
#ifdef KELVANE_MAINTENANCE
        SensorConfig::instance().setIconPath(root.filePath("icons"));
#endif
        SensorConfig::instance().loadStyle(lua);
        RegionConfig::instance().loadStyle(lua);
        DamageConfig::instance().loadStyle(lua);
    }

    QString deckFile() const { return QDir(dir_.path()).filePath("deck.svg"); }

private:
    QTemporaryDir dir_;
};

harq::Region* cabin(harq::Deck& deck, const QRectF& outline)
{
    auto* region = new harq::Region;
    region->setRegionPath(QPolygonF(outline));
    region->setViewGroup(new harq::ViewGroup("舱室", "cabin", DamageResponse::FIRE));
    deck.addRegion(region);
    region->setDeck(&deck);
    return region;
}

/// \a top drawn at \a alpha over \a bottom.
QColor over(const QColor& top, qreal alpha, const QColor& bottom)
{
    auto channel = [alpha](int t, int b) { return qRound(t * alpha + b * (1 - alpha)); };
    return QColor(channel(top.red(), bottom.red()), channel(top.green(), bottom.green()),
                  channel(top.blue(), bottom.blue()));
}

::testing::AssertionResult near(const QImage& image, QPoint at, const QColor& expected)
{
    const QColor seen = image.pixelColor(at);
    const int tolerance = 3;
    if (std::abs(seen.red() - expected.red()) <= tolerance && std::abs(seen.green() - expected.green()) <= tolerance
        && std::abs(seen.blue() - expected.blue()) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "at (" << at.x() << ", " << at.y() << ") saw "
                                         << seen.name().toStdString() << ", expected "
                                         << expected.name().toStdString();
}

} // namespace

TEST(Render, DeckWithAlarmsDamageAndABoundary)
{
    Station station;
    harq::Deck deck(1);
    cabin(deck, QRectF(20, 20, 160, 160));
    cabin(deck, QRectF(200, 20, 80, 100));

    // One sensor in the first cabin, in alarm through its first item.
    auto* sensor = new harq::Sensor;
    sensor->setPos(QPointF(60, 100));
    sensor->setViewGroup(new harq::ViewGroup("火警", "fire", DamageResponse::FIRE));
    auto* item = new harq::SensorItem;
    item->setTag("T1");
    item->setIcon("station_detector.svg", "station_detector.svg");
    item->initCheck();
    sensor->addItem(item);
    deck.addSensor(sensor);
    for (harq::Region* region : deck.regions())
        region->associateSensor(sensor);

    DeckScene scene;
    scene.setDeck("main", station.deckFile());
    ASSERT_EQ(scene.sceneRect(), QRectF(0, 0, 400, 200));

    auto* regions = new RegionReactionLayer;
    scene.addItem(regions);
    for (harq::Region* region : deck.regions())
        regions->addRegion(new ReactionRegion(region));
    auto* sensors = new SensorLayer;
    scene.addItem(sensors);
    auto* graphic = new MarkSensorGraphic;
    graphic->setSensor(sensor);
    sensors->addSensor(graphic);
    auto* boundary = new DamageBoundary(&deck);
    boundary->makeMasterBoundary(QPolygonF({QPointF(300, 30), QPointF(380, 30), QPointF(380, 100), QPointF(300, 100)}));
    scene.addItem(boundary);

    item->setValue("T1", 1);
    ASSERT_FALSE(sensor->isNormal());

    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    scene.render(&painter, QRectF(0, 0, 400, 200), scene.sceneRect());
    painter.end();

    const QColor white(Qt::white);
    // The drawing itself.
    EXPECT_TRUE(near(image, QPoint(350, 170), Qt::black));
    EXPECT_TRUE(near(image, QPoint(190, 190), white));
    // The damaged cabin: the fire colour at 0.3 x 1.2 for one alarm.
    const QColor cabinFill = over(Qt::red, 0.36, white);
    EXPECT_TRUE(near(image, QPoint(140, 140), cabinFill));
    EXPECT_TRUE(near(image, QPoint(25, 175), cabinFill));
    // The quiet cabin stays invisible.
    EXPECT_TRUE(near(image, QPoint(240, 70), white));
    // The sensor: icon (40 x 20 around (60, 100)) and, below it, its mark in the
    // first state colour, both at the style's opacity 0.6 over the cabin fill.
    EXPECT_TRUE(near(image, QPoint(60, 100), over(Qt::blue, 0.6, cabinFill)));
    EXPECT_TRUE(near(image, QPoint(60, 112), over(Qt::red, 0.6, cabinFill)));
    // The boundary: solid red, 6 wide.
    EXPECT_TRUE(near(image, QPoint(340, 31), Qt::red));
    EXPECT_TRUE(near(image, QPoint(379, 60), Qt::red));
    EXPECT_TRUE(near(image, QPoint(340, 60), white));
}
