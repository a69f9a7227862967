// The sample ship as shipped: drawings, ship file and scenario agree, and the
// scenario tells the story it is meant to tell.

#include "sample_ship_fixture.h"
#include "ship.h"
#include "ship_loader.h"
#include "station_config.h"

#include "entity/deck.h"
#include "entity/neighbour.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QXmlStreamReader>

#include <memory>

namespace {

const QString kShipDir = QStringLiteral(KELVANE_SHIP_DIR);

QJsonObject readJson(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QJsonDocument::fromJson(file.readAll()).object();
}

/// The compartment polygons of a deck drawing, as lists of corner points.
QList<QPolygonF> drawnCompartments(const QString& svg)
{
    QFile file(svg);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << svg.toStdString();
    QList<QPolygonF> out;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("polygon")
            || xml.attributes().value(QLatin1String("class")) != QLatin1String("compartment"))
            continue;
        QPolygonF polygon;
        const auto corners = xml.attributes().value(QLatin1String("points")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const auto& corner : corners) {
            const auto xy = corner.split(QLatin1Char(','));
            polygon.append(QPointF(xy.at(0).toDouble(), xy.at(1).toDouble()));
        }
        out.append(polygon);
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return out;
}

class SampleShipTest : public SampleShipFixture
{
protected:
    harq::Region* compartment(const QString& deckName, const QString& name) const
    {
        for (harq::Deck* deck : ship_->decks()) {
            if (deck->name() != deckName)
                continue;
            for (harq::Region* region : deck->regions()) {
                if (region->name() == name)
                    return region;
            }
        }
        return nullptr;
    }

    /// Plays the scenario's events up to \a until seconds into the model.
    void play(const QJsonArray& events, double from, double until) const
    {
        for (const QJsonValue& event : events) {
            const double at = event["at"].toDouble();
            if (at > from && at <= until)
                ship_->index().dispatch(event["name"].toString(), event["value"].toDouble());
        }
    }

    /// Follows every compartment's alarm count from now on.
    void watchAlarms()
    {
        for (harq::Deck* deck : ship_->decks()) {
            for (harq::Region* region : deck->regions()) {
                QObject::connect(region, &harq::Region::alarmChanged, region,
                                 [this, region](int count) { alarms_.insert(region, count); });
            }
        }
    }

    int alarmsIn(const harq::Region* region) const
    {
        return alarms_.value(region, 0);
    }

    QHash<const harq::Region*, int> alarms_;
};

} // namespace

TEST_F(SampleShipTest, HasSeveralDecksAndHundredsOfSensors)
{
    const auto decks = ship_->decks();
    ASSERT_GE(decks.size(), 3u);
    std::size_t sensors = 0;
    for (harq::Deck* deck : decks) {
        EXPECT_TRUE(QFileInfo::exists(deck->svgFilename())) << deck->svgFilename().toStdString();
        EXPECT_FALSE(deck->regions().isEmpty());
        sensors += deck->sensors().size();
    }
    EXPECT_GE(sensors, 200u);
}

TEST_F(SampleShipTest, EveryCompartmentOutlineIsDrawnExactly)
{
    for (harq::Deck* deck : ship_->decks()) {
        const QList<QPolygonF> drawn = drawnCompartments(deck->svgFilename());
        EXPECT_EQ(drawn.size(), deck->regions().size()) << deck->name().toStdString();
        for (harq::Region* region : deck->regions()) {
            EXPECT_EQ(drawn.count(region->regionPath()), 1)
                << deck->name().toStdString() << " " << region->name().toStdString();
        }
    }
}

TEST_F(SampleShipTest, SensorsKnowTheirOwnCompartment)
{
    for (harq::Deck* deck : ship_->decks()) {
        for (harq::Sensor* sensor : deck->sensors()) {
            harq::Region* home = ship_->compartmentOf(sensor);
            ASSERT_NE(home, nullptr);
            EXPECT_EQ(sensor->cabin(), home) << sensor->code().toStdString();
            EXPECT_TRUE(home->containsPoint(sensor->point())) << sensor->code().toStdString();
            for (harq::Region* other : deck->regions()) {
                if (other != home) {
                    EXPECT_FALSE(other->containsPoint(sensor->point())) << sensor->code().toStdString();
                }
            }
        }
    }
}

TEST_F(SampleShipTest, NeighboursAreMutual)
{
    const harq::Direction pairs[][2] = {{harq::UP, harq::DOWN}, {harq::LEFT, harq::RIGHT}, {harq::FRONT, harq::BACK}};
    for (harq::Deck* deck : ship_->decks()) {
        for (harq::Region* region : deck->regions()) {
            for (const auto& pair : pairs) {
                for (int side = 0; side < 2; ++side) {
                    harq::Neighbour* lists = region->neighbour();
                    for (std::size_t n = 0; n < lists->neighbourCount(pair[side]); ++n) {
                        harq::Neighbour* back = lists->neighbourAt(pair[side], n)->neighbour();
                        bool found = false;
                        for (std::size_t m = 0; m < back->neighbourCount(pair[1 - side]); ++m)
                            found = found || back->neighbourAt(pair[1 - side], m) == region;
                        EXPECT_TRUE(found) << region->name().toStdString();
                    }
                }
            }
        }
    }
    harq::Region* galley = compartment(QStringLiteral("第二甲板"), QStringLiteral("厨房"));
    harq::Region* wardroom = compartment(QStringLiteral("主甲板"), QStringLiteral("军官餐厅"));
    ASSERT_NE(galley, nullptr);
    ASSERT_NE(wardroom, nullptr);
    ASSERT_EQ(galley->neighbour()->neighbourCount(harq::UP), 1u);
    EXPECT_EQ(galley->neighbour()->neighbourAt(harq::UP, 0), wardroom);
}

TEST_F(SampleShipTest, ScenarioServesExactlyThePointsTheShipFollows)
{
    const QJsonObject scenario = readJson(kShipDir + QStringLiteral("/scenario.json"));
    QSet<QString> points;
    for (const QJsonValue& point : scenario["points"].toArray()) {
        EXPECT_TRUE(QStringList({"int", "float", "double", "text"}).contains(point["type"].toString()));
        points.insert(point["name"].toString());
    }
    const QStringList names = ship_->dataPointNames();
    EXPECT_EQ(points, QSet<QString>(names.cbegin(), names.cend()));
    for (const QJsonValue& event : scenario["events"].toArray())
        EXPECT_TRUE(points.contains(event["name"].toString())) << event["name"].toString().toStdString();
}

TEST_F(SampleShipTest, ScenarioBurnsTheGalleySpreadsFloodsAndClears)
{
    const QJsonObject scenario = readJson(kShipDir + QStringLiteral("/scenario.json"));
    const QJsonArray events = scenario["events"].toArray();
    for (const QJsonValue& point : scenario["points"].toArray())
        ship_->index().dispatch(point["name"].toString(), point["value"].toDouble());
    watchAlarms();

    harq::Region* galley = compartment(QStringLiteral("第二甲板"), QStringLiteral("厨房"));
    harq::Region* store = compartment(QStringLiteral("第二甲板"), QStringLiteral("食品冷藏库"));
    harq::Region* mess = compartment(QStringLiteral("第二甲板"), QStringLiteral("士兵餐厅"));
    harq::Region* wardroom = compartment(QStringLiteral("主甲板"), QStringLiteral("军官餐厅"));
    harq::Region* chainLocker = compartment(QStringLiteral("舱底甲板"), QStringLiteral("锚链舱"));
    harq::Region* forePeak = compartment(QStringLiteral("第二甲板"), QStringLiteral("首尖舱"));
    ASSERT_TRUE(galley && store && mess && wardroom && chainLocker && forePeak);
    for (harq::Deck* deck : ship_->decks())
        EXPECT_EQ(deck->abnormalSensorCount(), 0) << "initial values are all normal";

    // The end-to-end test looks at the plan a few seconds in.
    play(events, 0.0, 4.0);
    EXPECT_GE(alarmsIn(galley), 2);
    EXPECT_EQ(alarmsIn(store), 0);
    EXPECT_EQ(alarmsIn(mess), 0);

    play(events, 4.0, 20.0);
    EXPECT_GE(alarmsIn(store), 1) << "fire spreads forward";
    EXPECT_GE(alarmsIn(wardroom), 1) << "smoke rises to the deck above";
    EXPECT_GE(alarmsIn(chainLocker), 1) << "flooding at the bow";
    EXPECT_GE(alarmsIn(forePeak), 1) << "flooding at the bow";
    EXPECT_EQ(alarmsIn(mess), 0);

    play(events, 20.0, 40.0);
    EXPECT_EQ(alarmsIn(wardroom), 0);
    EXPECT_EQ(alarmsIn(store), 0);
    EXPECT_GE(alarmsIn(galley), 1);
    EXPECT_GE(alarmsIn(forePeak), 1);

    play(events, 40.0, 1e9);
    EXPECT_TRUE(scenario["repeat"].toBool());
    for (harq::Deck* deck : ship_->decks())
        EXPECT_EQ(deck->abnormalSensorCount(), 0) << "the timeline ends where it began, so it can repeat";
}
