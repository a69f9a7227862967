#include "ship.h"
#include "ship_loader.h"
#include "station_config.h"

#include "entity/deck.h"
#include "entity/neighbour.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <utility>

namespace {

QJsonArray point(double x, double y)
{
    return QJsonArray{x, y};
}

QJsonArray square(double x0, double y0, double size)
{
    return QJsonArray{point(x0, y0), point(x0 + size, y0), point(x0 + size, y0 + size), point(x0, y0 + size)};
}

/// A small ship that loads: two decks, a cabin on each, one sensor with a state
/// and a value item in the lower cabin.
QJsonObject validShip()
{
    QJsonObject stateItem{{"kind", "STATE"}, {"tag", "T-SMK"}, {"confirm_tag", "T-SMK.ACK"},
                          {"icons", QJsonArray{"smoke_detector.svg", "smoke_detector_alarm.svg"}}};
    QJsonObject valueItem{{"kind", "VALUE"}, {"tag", "T-TMP"}, {"low", -10.0}, {"high", 55.0},
                          {"transform", "(0.5 1) (-20 0)"}};
    QJsonObject sensor{{"id", 1}, {"deck", 1}, {"compartment", 11}, {"name", "探测器"}, {"code", "SD1-01"},
                       {"position", point(50, 50)}, {"view_group", "火灾探测"},
                       {"items", QJsonArray{stateItem, valueItem}}};
    QJsonObject lower{{"id", 11}, {"deck", 1}, {"name", "下舱"}, {"code", "1-0-0"}, {"type", 1}, {"response", 1},
                      {"outline", square(0, 0, 100)}, {"neighbours", QJsonObject{{"up", QJsonArray{21}}}}};
    QJsonObject upper{{"id", 21}, {"deck", 2}, {"name", "上舱"}, {"code", "2-0-0"}, {"type", 1},
                      {"outline", square(0, 0, 100)}, {"neighbours", QJsonObject{{"down", QJsonArray{11}}}}};
    return QJsonObject{
        {"format", 1},
        {"name", "试验船"},
        {"decks", QJsonArray{QJsonObject{{"id", 1}, {"name", "下甲板"}, {"level", 1}, {"drawing", "missing1.svg"}},
                             QJsonObject{{"id", 2}, {"name", "上甲板"}, {"level", 2}, {"drawing", "missing2.svg"}}}},
        {"compartments", QJsonArray{lower, upper}},
        {"sensors", QJsonArray{sensor}},
    };
}

class ShipLoaderTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        QString error;
        ASSERT_TRUE(stationconfig::load(QStringLiteral(KELVANE_SHIP_DIR "/config"), &error)) << error.toStdString();
    }

    QString write(const QJsonObject& ship)
    {
        return writeBytes(QJsonDocument(ship).toJson());
    }

    QString writeBytes(const QByteArray& bytes)
    {
        const QString path = dir_.filePath(QStringLiteral("ship.json"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    /// Loads \a ship expecting it to be rejected; returns the message.
    std::string rejected(const QJsonObject& ship)
    {
        ShipLoader loader;
        EXPECT_EQ(loader.load(write(ship)), nullptr);
        EXPECT_FALSE(loader.error().isEmpty());
        return loader.error().toStdString();
    }

    static QJsonObject withSensorItem(QJsonObject ship, const QJsonObject& item)
    {
        QJsonArray sensors = ship["sensors"].toArray();
        QJsonObject sensor = sensors[0].toObject();
        sensor["items"] = QJsonArray{item};
        sensors[0] = sensor;
        ship["sensors"] = sensors;
        return ship;
    }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(ShipLoaderTest, ValidShipBuildsTheModel)
{
    ShipLoader loader;
    const auto ship = loader.load(write(validShip()));
    ASSERT_NE(ship, nullptr) << loader.error().toStdString();
    ASSERT_EQ(ship->decks().size(), 2u);

    harq::Deck* lower = ship->deckById(1);
    ASSERT_NE(lower, nullptr);
    EXPECT_EQ(lower->level(), 1);
    // Drawings are resolved against the ship file; a missing one is the scene's business.
    EXPECT_EQ(lower->svgFilename(), QDir(dir_.path()).filePath(QStringLiteral("missing1.svg")));

    harq::Region* cabin = ship->regionById(11);
    harq::Region* above = ship->regionById(21);
    ASSERT_NE(cabin, nullptr);
    ASSERT_NE(above, nullptr);
    EXPECT_EQ(cabin->responseType(), 1);
    // Without its own response a compartment takes its type's (cabins: 7 in region.lua).
    EXPECT_EQ(above->responseType(), 7);
    ASSERT_EQ(cabin->neighbour()->neighbourCount(harq::UP), 1u);
    EXPECT_EQ(cabin->neighbour()->neighbourAt(harq::UP, 0), above);
    EXPECT_EQ(above->neighbour()->neighbourAt(harq::DOWN, 0), cabin);

    harq::Sensor* sensor = lower->sensors().front();
    EXPECT_EQ(sensor->cabin(), cabin);
    EXPECT_EQ(ship->compartmentOf(sensor), cabin);
    ASSERT_EQ(sensor->itemCount(), 2);
    EXPECT_TRUE(sensor->itemAt(0)->isStateItem());
    EXPECT_TRUE(sensor->itemAt(1)->isValueItem());
    EXPECT_EQ(ship->dataPointNames(), (QStringList{"T-SMK", "T-SMK.ACK", "T-TMP"}));
}

TEST_F(ShipLoaderTest, ReceivedValuesReachItemsThroughTheTransformAndDamageTheCabin)
{
    ShipLoader loader;
    const auto ship = loader.load(write(validShip()));
    ASSERT_NE(ship, nullptr) << loader.error().toStdString();
    harq::Region* cabin = ship->regionById(11);
    int alarms = -1;
    QObject::connect(cabin, &harq::Region::alarmChanged, [&alarms](int count) { alarms = count; });

    harq::SensorItem* temperature = ship->deckById(1)->sensors().front()->itemAt(1);
    EXPECT_EQ(ship->index().dispatch(QStringLiteral("T-TMP"), 100.0), 1);
    EXPECT_DOUBLE_EQ(temperature->value(), 30.0); // 0.5 * 100 - 20
    EXPECT_TRUE(temperature->isNormal());

    ship->index().dispatch(QStringLiteral("T-TMP"), 160.0); // 60 degrees, above the high limit
    EXPECT_TRUE(temperature->isAbnormal());
    EXPECT_TRUE(temperature->needConfirm());
    EXPECT_EQ(alarms, 1);

    ship->index().dispatch(QStringLiteral("T-SMK.ACK"), 1.0);
    EXPECT_TRUE(temperature->needConfirm()) << "an acknowledgement point belongs to its own item only";
    ship->index().dispatch(QStringLiteral("T-TMP"), 100.0);
    EXPECT_EQ(alarms, 0);
}

TEST_F(ShipLoaderTest, MissingOrMalformedFileIsReportedWithItsPath)
{
    ShipLoader loader;
    const QString missing = dir_.filePath(QStringLiteral("nothing.json"));
    EXPECT_EQ(loader.load(missing), nullptr);
    EXPECT_TRUE(loader.error().contains(QDir::toNativeSeparators(missing))) << loader.error().toStdString();

    EXPECT_EQ(loader.load(writeBytes("{\"format\": 1, \"decks\": [")), nullptr);
    EXPECT_TRUE(loader.error().contains(QStringLiteral("JSON"))) << loader.error().toStdString();

    QJsonObject ship = validShip();
    ship["format"] = 2;
    EXPECT_NE(rejected(ship).find("2"), std::string::npos);

    ship = validShip();
    ship["sensors"] = QJsonObject{};
    EXPECT_NE(rejected(ship).find("sensors"), std::string::npos);
}

TEST_F(ShipLoaderTest, SensorsMustLieInTheirCompartmentAndUseKnownViewGroups)
{
    QJsonObject ship = validShip();
    QJsonArray sensors = ship["sensors"].toArray();
    QJsonObject sensor = sensors[0].toObject();
    sensor["position"] = point(150, 50);
    sensors[0] = sensor;
    ship["sensors"] = sensors;
    EXPECT_NE(rejected(ship).find("不在舱室"), std::string::npos);

    sensor["position"] = point(50, 50);
    sensor["view_group"] = "烟雾";
    sensors[0] = sensor;
    ship["sensors"] = sensors;
    const std::string message = rejected(ship);
    EXPECT_NE(message.find("烟雾"), std::string::npos);
    EXPECT_NE(message.find("sensors 第 1 项"), std::string::npos) << message;
}

TEST_F(ShipLoaderTest, ItemKindMustAgreeWithItsIcons)
{
    const QJsonObject stateWithoutIcons{{"kind", "STATE"}, {"tag", "X"}};
    EXPECT_NE(rejected(withSensorItem(validShip(), stateWithoutIcons)).find("图标"), std::string::npos);

    const QJsonObject valueWithIcons{{"kind", "VALUE"}, {"tag", "X"}, {"icons", QJsonArray{"a.svg", "b.svg"}}};
    EXPECT_NE(rejected(withSensorItem(validShip(), valueWithIcons)).find("图标"), std::string::npos);

    const QJsonObject unknownKind{{"kind", "SWITCH"}, {"tag", "X"}};
    EXPECT_NE(rejected(withSensorItem(validShip(), unknownKind)).find("SWITCH"), std::string::npos);

    const QJsonObject invertedLimits{{"kind", "VALUE"}, {"tag", "X"}, {"low", 5.0}, {"high", 1.0}};
    rejected(withSensorItem(validShip(), invertedLimits));
}

TEST_F(ShipLoaderTest, PointNamesMustFitAUnit)
{
    // 65 Chinese characters are 130 GBK bytes, more than a record keeps; each
    // refusal names the sensor's place in the file.
    const QString tooLong = QString(64, QChar(0x6E29)) + QLatin1Char('X');
    for (const auto& [item, problem] :
         {std::pair{QJsonObject{{"kind", "VALUE"}, {"tag", "X"}, {"confirm_tag", tooLong}}, "128"},
          {QJsonObject{{"kind", "VALUE"}, {"tag", tooLong}}, "128"},
          {QJsonObject{{"kind", "VALUE"}, {"tag", "D1\nSMK"}}, "控制字符"},
          {QJsonObject{{"kind", "VALUE"}, {"tag", QStringLiteral("D1") + QChar(0x0E01)}}, "GBK"}}) {
        const std::string message = rejected(withSensorItem(validShip(), item));
        EXPECT_NE(message.find(problem), std::string::npos) << message;
        EXPECT_NE(message.find("sensors 第 1 项"), std::string::npos) << message;
    }

    const QJsonObject fits{{"kind", "VALUE"}, {"tag", QString(63, QChar(0x6E29)) + QStringLiteral("XY")}};
    ShipLoader loader;
    EXPECT_NE(loader.load(write(withSensorItem(validShip(), fits))), nullptr) << loader.error().toStdString();
}

TEST_F(ShipLoaderTest, ReferencesAndIdentifiersAreChecked)
{
    QJsonObject ship = validShip();
    QJsonArray compartments = ship["compartments"].toArray();
    QJsonObject lower = compartments[0].toObject();
    lower["neighbours"] = QJsonObject{{"up", QJsonArray{99}}};
    compartments[0] = lower;
    ship["compartments"] = compartments;
    EXPECT_NE(rejected(ship).find("99"), std::string::npos);

    lower["neighbours"] = QJsonObject{{"sideways", QJsonArray{21}}};
    compartments[0] = lower;
    ship["compartments"] = compartments;
    EXPECT_NE(rejected(ship).find("sideways"), std::string::npos);

    lower["neighbours"] = QJsonObject{};
    lower["type"] = 12;
    compartments[0] = lower;
    ship["compartments"] = compartments;
    rejected(ship);

    lower["type"] = 1;
    lower["deck"] = 5;
    compartments[0] = lower;
    ship["compartments"] = compartments;
    EXPECT_NE(rejected(ship).find("5"), std::string::npos);

    ship = validShip();
    QJsonArray decks = ship["decks"].toArray();
    QJsonObject second = decks[1].toObject();
    second["id"] = 1;
    decks[1] = second;
    ship["decks"] = decks;
    EXPECT_NE(rejected(ship).find("重复"), std::string::npos);

    second["id"] = 2.5;
    decks[1] = second;
    ship["decks"] = decks;
    rejected(ship);

    // A deck drawing must stay inside the ship's folder.
    second["id"] = 2;
    for (const char* outside : {"../outside.svg", "decks/../../outside.svg", "/etc/outside.svg"}) {
        second["drawing"] = outside;
        decks[1] = second;
        ship["decks"] = decks;
        EXPECT_NE(rejected(ship).find("outside.svg"), std::string::npos) << outside;
    }
}

TEST_F(ShipLoaderTest, EquipmentAndTeamsKeepTheirCompartment)
{
    QJsonObject ship = validShip();
    ship["equipment_classifiers"] = QJsonArray{QJsonObject{
        {"id", 3}, {"name", "手提式灭火器"}, {"icon", "equip_extinguisher.svg"}, {"moveable", true}, {"classifier", 1}}};
    QJsonObject extinguisher{{"id", 1}, {"classifier", 3}, {"deck", 1}, {"compartment", 11},
                             {"position", point(20, 20)}, {"amount", 2}, {"valid_date", "2027-03-31"}};
    ship["equipment"] = QJsonArray{extinguisher};
    ship["teams"] = QJsonArray{QJsonObject{{"name", "消防队"}, {"deck", 2}, {"compartment", 21}, {"position", point(30, 30)}}};

    ShipLoader loader;
    const auto loaded = loader.load(write(ship));
    ASSERT_NE(loaded, nullptr) << loader.error().toStdString();
    const auto pieces = loaded->equipmentOn(loaded->deckById(1));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces.front()->count(), 2);
    EXPECT_EQ(pieces.front()->validDate(), QDate(2027, 3, 31));
    EXPECT_EQ(pieces.front()->classifier(), loaded->classifierById(3));
    EXPECT_EQ(loaded->compartmentOf(pieces.front().get()), loaded->regionById(11));
    ASSERT_EQ(loaded->teamsOn(2).size(), 1);
    EXPECT_EQ(loaded->teamsOn(2).first().compartment, loaded->regionById(21));

    extinguisher["position"] = point(200, 20);
    ship["equipment"] = QJsonArray{extinguisher};
    EXPECT_NE(rejected(ship).find("不在舱室"), std::string::npos);

    extinguisher["position"] = point(20, 20);
    extinguisher["classifier"] = 4;
    extinguisher["valid_date"] = "2027-02-30";
    ship["equipment"] = QJsonArray{extinguisher};
    EXPECT_NE(rejected(ship).find("4"), std::string::npos);
    extinguisher["classifier"] = 3;
    ship["equipment"] = QJsonArray{extinguisher};
    EXPECT_NE(rejected(ship).find("2027-02-30"), std::string::npos);
}
