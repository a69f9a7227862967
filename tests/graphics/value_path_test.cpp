#include "config/damage_config.h"
#include "config/region_config.h"
#include "config/sensor_config.h"
#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/value_transform.h"
#include "entity/view_group.h"
#include "graphics/mark_sensor_graphic.h"
#include "graphics/reaction_region.h"
#include "graphics/region_reaction_layer.h"
#include "graphics/sensor_layer.h"
#ifndef KELVANE_MAINTENANCE
#include "view/opacity_animation.h"
#endif

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGraphicsEffect>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using harq::DamageResponse;

namespace {

/// The styles of data/ copied to a temporary folder laid out as config/ beside icons/.
class StationStyle
{
public:
    StationStyle()
    {
        QDir root(dir_.path());
        root.mkpath("config");
        root.mkpath("icons");
        const QString lua = root.filePath("config/station.lua");
        QFile::copy(QFINDTESTDATA("data/config/station.lua"), lua);
        QFile::copy(QFINDTESTDATA("data/icons/station_detector.svg"), root.filePath("icons/station_detector.svg"));
#ifdef KELVANE_MAINTENANCE
        SensorConfig::instance().setIconPath(root.filePath("icons"));
#endif
        SensorConfig::instance().loadStyle(lua);
        RegionConfig::instance().loadStyle(lua);
        DamageConfig::instance().loadStyle(lua);
    }

private:
    QTemporaryDir dir_;
};

/// What the host does with every update of the data server: offer it to every item.
void offer(harq::Deck& deck, const QString& tag, double value)
{
    for (harq::Sensor* sensor : deck.sensors()) {
        for (auto it = sensor->beginItem(); it != sensor->endItem(); ++it)
            (*it)->setValue(tag, value);
    }
}

QBrush markBrush(const QGraphicsItem& graphic)
{
    for (QGraphicsItem* child : graphic.childItems()) {
        if (auto* mark = qgraphicsitem_cast<QGraphicsRectItem*>(child))
            return mark->brush();
    }
    return QBrush();
}

QGraphicsEffect* markEffect(const QGraphicsItem& graphic)
{
    for (QGraphicsItem* child : graphic.childItems()) {
        if (auto* mark = qgraphicsitem_cast<QGraphicsRectItem*>(child))
            return mark->graphicsEffect();
    }
    return nullptr;
}

} // namespace

TEST(ValuePath, AnUpdateTravelsFromTheItemToTheScreenAndBack)
{
    StationStyle style;

    harq::Deck deck(1);
    auto* cabin = new harq::Region;
    cabin->setName("机舱");
    cabin->setCode("E1");
    cabin->setRegionPath(QPolygonF(QRectF(0, 0, 200, 200)));
    cabin->setViewGroup(new harq::ViewGroup("舱室", "cabin", DamageResponse::FIRE));
    deck.addRegion(cabin);
    cabin->setDeck(&deck);

    auto* sensor = new harq::Sensor;
    sensor->setName("温感1");
    sensor->setCode("T01");
    sensor->setPos(QPointF(100, 100));
    sensor->setViewGroup(new harq::ViewGroup("火警", "fire", DamageResponse::FIRE));
    auto* temperature = new harq::SensorItem;
    temperature->setTag("T1");
    temperature->setLow(0);
    temperature->setHigh(60);
    // The server reports tenths of a degree.
    temperature->setValueTrans(new harq::ValueTransform("(0.1 1)"));
    temperature->initCheck();
    sensor->addItem(temperature);
    auto* smoke = new harq::SensorItem;
    smoke->setTag("SM1");
    smoke->setIcon("station_detector.svg", "station_detector_alarm.svg");
    smoke->initCheck();
    sensor->addItem(smoke);
    deck.addSensor(sensor);
    cabin->associateSensor(sensor);

    QGraphicsScene scene(0, 0, 400, 400);
    auto* regions = new RegionReactionLayer;
    scene.addItem(regions);
    auto* rg = new ReactionRegion(cabin);
    regions->addRegion(rg);
    auto* sensors = new SensorLayer;
    scene.addItem(sensors);
    auto* graphic = new MarkSensorGraphic;
    graphic->setSensor(sensor);
#ifndef KELVANE_MAINTENANCE
    graphic->acceptAnimotion(new OpacityAnimation);
#endif
    sensors->addSensor(graphic);

    QSignalSpy damaged(&deck, &harq::Deck::regionDamage);
    QSignalSpy recovered(&deck, &harq::Deck::regionRecover);

    // 800 tenths = 80 degrees, above the high limit of 60.
    offer(deck, "T1", 800);
    ASSERT_EQ(damaged.count(), 1);
    EXPECT_EQ(damaged.at(0).at(0).value<harq::Region*>(), cabin);
    EXPECT_TRUE(rg->damaged());
    EXPECT_EQ(rg->brush().color(), QColor("#FF0000"));
    EXPECT_NEAR(rg->opacity(), 0.36, 1e-12);
    EXPECT_EQ(graphic->toolTip(), "温感1:超高限");
    EXPECT_EQ(markBrush(*graphic).color(), QColor("#FF0000"));
#ifndef KELVANE_MAINTENANCE
    EXPECT_NE(qobject_cast<QGraphicsOpacityEffect*>(markEffect(*graphic)), nullptr);
#else
    EXPECT_EQ(markEffect(*graphic), nullptr);
#endif

    // The smoke item joins: still one abnormal sensor, so the fill stays, the mark splits.
    offer(deck, "SM1", 1);
    EXPECT_NEAR(rg->opacity(), 0.36, 1e-12);
    EXPECT_EQ(rg->brush().color(), QColor("#FF0000"));
    const QBrush bands = markBrush(*graphic);
    ASSERT_EQ(bands.style(), Qt::LinearGradientPattern);
    EXPECT_EQ(bands.gradient()->stops().first().second, QColor("#FF0000"));
    EXPECT_EQ(bands.gradient()->stops().last().second, QColor("#FFFF00"));
    EXPECT_EQ(graphic->toolTip(), "温感1:超高限+station_detector_alarm");

    offer(deck, "T1", 300);
    offer(deck, "SM1", 0);
    ASSERT_EQ(recovered.count(), 1);
    EXPECT_EQ(recovered.last().at(0).value<harq::Region*>(), cabin);
    EXPECT_FALSE(rg->damaged());
    EXPECT_EQ(rg->brush().style(), Qt::NoBrush);
    EXPECT_DOUBLE_EQ(rg->opacity(), 0.3);
    EXPECT_EQ(graphic->toolTip(), "温感1:正常");
    EXPECT_EQ(markBrush(*graphic).color(), QColor(Qt::green));
    EXPECT_EQ(markEffect(*graphic), nullptr);
}
