// The station as a program: the real data server plays the sample scenario, the
// real station runs in snapshot mode, and the pictures it writes are checked.

#include "station_process.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineF>
#include <QPolygonF>
#include <QTcpServer>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace {

const QString kShipDir = QStringLiteral(KELVANE_SHIP_DIR);
const QString kScenario = kShipDir + QStringLiteral("/scenario.json");
constexpr int kRunMs = 45000;
constexpr int kReactMs = 15000;
// Pixels this close to a sensor, a tag or a compartment label show icons and text, not the fill.
constexpr double kIconClearance = 42.0;
constexpr double kLabelHalfWidth = 60.0;
constexpr double kLabelHalfHeight = 30.0;
constexpr double kEdgeClearance = 8.0;
constexpr double kSampleStep = 6.0;
constexpr int kRedMargin = 50;

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

double distanceToOutline(const QPolygonF& outline, QPointF p)
{
    double best = 1e300;
    for (int i = 0; i < outline.size(); ++i) {
        const QLineF edge(outline.at(i), outline.at((i + 1) % outline.size()));
        const QPointF d = edge.p2() - edge.p1();
        const double length2 = QPointF::dotProduct(d, d);
        const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - edge.p1(), d) / length2, 0.0, 1.0) : 0.0;
        best = std::min(best, QLineF(p, edge.p1() + t * d).length());
    }
    return best;
}

bool reddish(QRgb pixel)
{
    return qRed(pixel) - qGreen(pixel) > kRedMargin && qRed(pixel) - qBlue(pixel) > kRedMargin;
}

/// Which share of the compartment's plain floor is painted red in \a image.
struct FloorShare {
    int sampled = 0;
    int red = 0;
    double share() const { return sampled ? double(red) / sampled : 0.0; }
};

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

    FloorShare redShare(const QImage& image, const QJsonObject& room) const
    {
        const QPolygonF outline = outlineOf(room);
        const QList<QPointF> markers = markersOn(room["deck"].toInt());
        const QRectF box = outline.boundingRect();
        // The label sits at the outline's centre of area; its bounding box centre is close enough here.
        const QPointF label = box.center();
        FloorShare share;
        for (double y = box.top(); y <= box.bottom(); y += kSampleStep) {
            for (double x = box.left(); x <= box.right(); x += kSampleStep) {
                const QPointF p(x, y);
                if (!outline.containsPoint(p, Qt::OddEvenFill) || distanceToOutline(outline, p) < kEdgeClearance)
                    continue;
                if (std::abs(x - label.x()) < kLabelHalfWidth && std::abs(y - label.y()) < kLabelHalfHeight)
                    continue;
                if (std::any_of(markers.cbegin(), markers.cend(),
                                [&](QPointF m) { return QLineF(m, p).length() < kIconClearance; }))
                    continue;
                ++share.sampled;
                if (reddish(image.pixel(int(x), int(y))))
                    ++share.red;
            }
        }
        return share;
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
    const FloorShare burning = redShare(second, galley);
    ASSERT_GT(burning.sampled, 50);
    EXPECT_GT(burning.share(), 0.9) << burning.red << " of " << burning.sampled;

    // The crew mess across the passage has no alarm, nor (yet) has the wardroom above.
    const FloorShare mess = redShare(second, compartment(QStringLiteral("士兵餐厅")));
    ASSERT_GT(mess.sampled, 50);
    EXPECT_LT(mess.share(), 0.1) << mess.red << " of " << mess.sampled;
    const QJsonObject wardroom = compartment(QStringLiteral("军官餐厅"));
    const FloorShare above = redShare(snapshot(wardroom["deck"].toInt()), wardroom);
    EXPECT_LT(above.share(), 0.1) << above.red << " of " << above.sampled;

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
