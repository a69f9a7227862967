// The station as a program: the real data server plays the sample scenario, the
// real station runs in snapshot mode, and the pictures it writes are checked.

#include "floor_sampler.h"
#include "station_process.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPolygonF>
#include <QTcpServer>
#include <QTemporaryDir>

namespace {

const QString kShipDir = QStringLiteral(KELVANE_SHIP_DIR);
const QString kScenario = kShipDir + QStringLiteral("/scenario.json");
constexpr int kRunMs = 45000;
constexpr int kReactMs = 15000;
constexpr int kEnoughSamples = 50;
// Share of a compartment's floor that is red: all of it where fire burns, next to
// none elsewhere (a dotted boundary or the scan line may cross a room).
constexpr double kBurning = 0.9;
constexpr double kQuiet = 0.1;
QJsonObject readJson(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QJsonDocument::fromJson(file.readAll()).object();
}

QPolygonF outlineOf(const QJsonObject& compartment)
{
    QPolygonF outline;
    for (const QJsonValue& p : compartment["outline"].toArray())
        outline.append(QPointF(p[0].toDouble(), p[1].toDouble()));
    return outline;
}

class StationEndToEndTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(output_.isValid());
        ship_ = readJson(kShipDir + QStringLiteral("/ship.json"));
        ASSERT_FALSE(ship_.isEmpty());
    }

    QJsonObject compartment(const QString& name) const
    {
        for (const QJsonValue& c : ship_["compartments"].toArray()) {
            if (c["name"].toString() == name)
                return c.toObject();
        }
        ADD_FAILURE() << "no compartment " << name.toStdString();
        return {};
    }

    /// Positions of everything drawn on the deck that hides the fill.
    QList<QPointF> markersOn(int deck) const
    {
        QList<QPointF> out;
        for (const char* list : {"sensors", "equipment", "teams"}) {
            for (const QJsonValue& entry : ship_[QLatin1String(list)].toArray()) {
                if (entry["deck"].toInt() == deck)
                    out.append(QPointF(entry["position"][0].toDouble(), entry["position"][1].toDouble()));
            }
        }
        return out;
    }

    FloorSampler floorOf(const QJsonObject& room) const
    {
        return FloorSampler(outlineOf(room), markersOn(room["deck"].toInt()));
    }

    QImage snapshot(int deck) const
    {
        QImage image(output_.filePath(QStringLiteral("%1.png").arg(deck)));
        EXPECT_FALSE(image.isNull()) << "no picture of deck " << deck;
        return image;
    }

    QTemporaryDir output_;
    QJsonObject ship_;
};

} // namespace

TEST_F(StationEndToEndTest, SnapshotShowsTheFireWhereItBurnsAndNowhereElse)
{
    DataServerProcess server;
    ASSERT_TRUE(server.start(kScenario));
    StationProcess station;
    station.start({QStringLiteral("--snapshot"), output_.path(), QStringLiteral("--after"), QStringLiteral("6"),
                   QStringLiteral("--port"), QString::number(server.port())});
    ASSERT_TRUE(station.waitForExit(kRunMs)) << station.err().toStdString();
    ASSERT_EQ(station.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(station.exitCode(), 0) << station.err().toStdString();

    // Values arrived and reached sensor items: at least every point's first value.
    const int points = readJson(kScenario)["points"].toArray().size();
    EXPECT_GE(station.routedUpdates(), points) << station.out().toStdString();

    const QJsonObject galley = compartment(QStringLiteral("厨房"));
    const QImage second = snapshot(galley["deck"].toInt());
    ASSERT_EQ(second.width(), 2400);
    const FloorSampler burning = floorOf(galley);
    ASSERT_GT(burning.sampled(), kEnoughSamples);
    EXPECT_GT(burning.redShare(second), kBurning);

    // The crew mess across the passage never has an alarm in the scenario.
    const FloorSampler mess = floorOf(compartment(QStringLiteral("士兵餐厅")));
    ASSERT_GT(mess.sampled(), kEnoughSamples);
    EXPECT_LT(mess.redShare(second), kQuiet);

    // Every deck got its picture.
    for (const QJsonValue& deck : ship_["decks"].toArray())
        EXPECT_TRUE(QFile::exists(output_.filePath(QStringLiteral("%1.png").arg(deck["id"].toInt()))));
}

TEST_F(StationEndToEndTest, ReconnectsAndBooksEverythingAgainWhenTheServerComesBack)
{
    DataServerProcess server;
    ASSERT_TRUE(server.start(kScenario));
    const quint16 port = server.port();
    const int points = readJson(kScenario)["points"].toArray().size();

    StationProcess station;
    station.start({QStringLiteral("--snapshot"), output_.path(), QStringLiteral("--after"), QStringLiteral("12"),
                   QStringLiteral("--port"), QString::number(port)});
    ASSERT_TRUE(station.waitForOutput([&](const StationProcess& s) { return s.routedUpdates() >= points; }, kReactMs))
        << station.out().toStdString();

    server.stop();
    ASSERT_TRUE(station.waitForOutput(
        [](const StationProcess& s) { return s.out().contains(QStringLiteral("connection lost")); }, kReactMs))
        << station.out().toStdString();
    const int before = station.routedUpdates();

    DataServerProcess again;
    ASSERT_TRUE(again.start(kScenario, port));
    // Booking again brings every point's current value once more.
    ASSERT_TRUE(station.waitForOutput(
        [&](const StationProcess& s) { return s.connections() >= 2 && s.routedUpdates() >= before + points; },
        kRunMs))
        << station.out().toStdString();
    ASSERT_TRUE(station.waitForExit(kRunMs));
    EXPECT_EQ(station.exitCode(), 0) << station.err().toStdString();
}

TEST_F(StationEndToEndTest, UnreachableServerEndsTheSnapshotWithAMessage)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();

    StationProcess station;
    station.start({QStringLiteral("--snapshot"), output_.path(), QStringLiteral("--port"), QString::number(port)});
    ASSERT_TRUE(station.waitForExit(kRunMs));
    EXPECT_EQ(station.exitCode(), 4);
    EXPECT_TRUE(station.err().contains(QStringLiteral("无法连接数据服务器 127.0.0.1:%1").arg(port)))
        << station.err().toStdString();
    EXPECT_FALSE(QFile::exists(output_.filePath(QStringLiteral("1.png"))));
}

TEST_F(StationEndToEndTest, EnglishTranslationReachesTheLibrariesMessages)
{
    const QString missing = output_.filePath(QStringLiteral("no-config"));
    StationProcess english;
    english.start({QStringLiteral("--snapshot"), output_.path(), QStringLiteral("--config"), missing,
                   QStringLiteral("--lang"), QStringLiteral("en")});
    ASSERT_TRUE(english.waitForExit(kRunMs));
    EXPECT_EQ(english.exitCode(), 2);
    EXPECT_TRUE(english.err().contains(QStringLiteral("Configuration file"))) << english.err().toStdString();
    EXPECT_TRUE(english.err().contains(QStringLiteral("does not exist"))) << english.err().toStdString();

    StationProcess unknown;
    unknown.start({QStringLiteral("--snapshot"), output_.path(), QStringLiteral("--lang"), QStringLiteral("xx")});
    ASSERT_TRUE(unknown.waitForExit(kRunMs));
    EXPECT_EQ(unknown.exitCode(), 1);
}

// The station's own texts come from the examples' translation, loaded with the
// libraries' one; the help is translated too, so --lang is read before the options.
TEST_F(StationEndToEndTest, EnglishTranslationReachesTheStationsOwnTexts)
{
    const QString deckless = output_.filePath(QStringLiteral("deckless.json"));
    QFile file(deckless);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"format\": 1}");
    file.close();

    StationProcess english;
    english.start({QStringLiteral("--snapshot"), output_.path(), QStringLiteral("--ship"), deckless,
                   QStringLiteral("--config"), kShipDir + QStringLiteral("/config"), QStringLiteral("--lang"),
                   QStringLiteral("en")});
    ASSERT_TRUE(english.waitForExit(kRunMs));
    EXPECT_EQ(english.exitCode(), 3);
    EXPECT_TRUE(english.err().contains(QStringLiteral("Ship file %1 (decks): no decks").arg(deckless)))
        << english.err().toStdString();

    StationProcess help;
    help.start({QStringLiteral("--lang=en"), QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForExit(kRunMs));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.out().contains(QStringLiteral("Port of the data server."))) << help.out().toStdString();
    EXPECT_TRUE(help.out().contains(QStringLiteral("Language of the user interface"))) << help.out().toStdString();
}

TEST_F(StationEndToEndTest, BrokenShipOrConfigurationEndsWithAMessage)
{
    const QString broken = output_.filePath(QStringLiteral("broken.json"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"format\": 1, \"decks\": [{\"id\": 1, \"name\": \"甲板\"}]}");
    file.close();

    StationProcess station;
    station.start({QStringLiteral("--snapshot"), output_.path(), QStringLiteral("--ship"), broken,
                   QStringLiteral("--config"), kShipDir + QStringLiteral("/config")});
    ASSERT_TRUE(station.waitForExit(kRunMs));
    EXPECT_EQ(station.exitCode(), 3);
    EXPECT_TRUE(station.err().contains(QStringLiteral("broken.json"))) << station.err().toStdString();
    EXPECT_TRUE(station.err().contains(QStringLiteral("level"))) << station.err().toStdString();

    StationProcess unconfigured;
    unconfigured.start({QStringLiteral("--snapshot"), output_.path(), QStringLiteral("--ship"), broken});
    ASSERT_TRUE(unconfigured.waitForExit(kRunMs));
    EXPECT_EQ(unconfigured.exitCode(), 2);
    EXPECT_TRUE(unconfigured.err().contains(QStringLiteral("region.lua"))) << unconfigured.err().toStdString();
}
