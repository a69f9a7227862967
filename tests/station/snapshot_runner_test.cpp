// Pictures of the sample ship written in process, without a data server: values
// are handed to the model directly.

#include "floor_sampler.h"
#include "ship.h"
#include "ship_loader.h"
#include "snapshot_runner.h"
#include "station_config.h"

#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <memory>

namespace {

const QString kShipDir = QStringLiteral(KELVANE_SHIP_DIR);
constexpr double kBurning = 0.9;
constexpr double kQuiet = 0.1;
const QString kGalleySmoke[] = {QStringLiteral("D2-SMK-026"), QStringLiteral("D2-SMK-027")};

class SnapshotRunnerTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        QString error;
        ASSERT_TRUE(stationconfig::load(kShipDir + QStringLiteral("/config"), &error)) << error.toStdString();
    }

    std::unique_ptr<Ship> load(const QString& path)
    {
        ShipLoader loader;
        auto ship = loader.load(path);
        EXPECT_NE(ship, nullptr) << loader.error().toStdString();
        return ship;
    }

    static harq::Region* galley(const Ship& ship)
    {
        for (harq::Region* region : ship.deckById(2)->regions()) {
            if (region->name() == QStringLiteral("厨房"))
                return region;
        }
        return nullptr;
    }

    static harq::Region* mess(const Ship& ship)
    {
        for (harq::Region* region : ship.deckById(2)->regions()) {
            if (region->name() == QStringLiteral("士兵餐厅"))
                return region;
        }
        return nullptr;
    }

    static FloorSampler floorOf(const Ship& ship, harq::Region* room)
    {
        QList<QPointF> markers;
        for (harq::Sensor* sensor : room->deck()->sensors())
            markers.append(sensor->point());
        for (const auto& equipment : ship.equipmentOn(room->deck()))
            markers.append(equipment->pos());
        for (const Ship::Team& team : ship.teamsOn(room->deck()->id()))
            markers.append(team.position);
        return FloorSampler(room->regionPath(), markers);
    }

    QImage picture(quint64 deck) const
    {
        return QImage(QDir(dir_.path()).filePath(QStringLiteral("%1.png").arg(deck)));
    }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(SnapshotRunnerTest, DeckShownDuringAnIncidentShowsItAtOnce)
{
    const auto ship = load(kShipDir + QStringLiteral("/ship.json"));
    ASSERT_NE(ship, nullptr);
    // The values arrive before the deck is put on the scene, as when an operator
    // switches to a deck where a fire already burns.
    for (const QString& tag : kGalleySmoke)
        ASSERT_EQ(ship->index().dispatch(tag, 1.0), 1);

    QString error;
    ASSERT_TRUE(SnapshotRunner(*ship, dir_.path()).writeAll(&error)) << error.toStdString();
    for (harq::Deck* deck : ship->decks())
        EXPECT_FALSE(picture(deck->id()).isNull()) << deck->name().toStdString();

    const QImage second = picture(2);
    EXPECT_GT(floorOf(*ship, galley(*ship)).redShare(second), kBurning);
    EXPECT_LT(floorOf(*ship, mess(*ship)).redShare(second), kQuiet);
}

TEST_F(SnapshotRunnerTest, AlarmThatClearedLeavesNoColour)
{
    const auto ship = load(kShipDir + QStringLiteral("/ship.json"));
    ASSERT_NE(ship, nullptr);
    for (const QString& tag : kGalleySmoke) {
        ship->index().dispatch(tag, 1.0);
        ship->index().dispatch(tag, 0.0);
    }
    QString error;
    ASSERT_TRUE(SnapshotRunner(*ship, dir_.path()).writeAll(&error)) << error.toStdString();
    EXPECT_LT(floorOf(*ship, galley(*ship)).redShare(picture(2)), kQuiet);
}

TEST_F(SnapshotRunnerTest, MissingDrawingStillGivesAPictureOfTheDeck)
{
    const QString path = QDir(dir_.path()).filePath(QStringLiteral("ship.json"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": 1, "decks": [{"id": 7, "name": "无图甲板", "level": 1, "drawing": "none.svg"}],
                   "compartments": [{"id": 1, "deck": 7, "name": "舱", "code": "1-0-0", "type": 1,
                                     "outline": [[0, 0], [100, 0], [100, 100], [0, 100]]}]})");
    file.close();
    const auto ship = load(path);
    ASSERT_NE(ship, nullptr);

    QString error;
    ASSERT_TRUE(SnapshotRunner(*ship, dir_.path()).writeAll(&error)) << error.toStdString();
    // The picture is the scene's error text in place of the drawing.
    const QImage image = picture(7);
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 0);
}

TEST_F(SnapshotRunnerTest, UnwritableFolderIsReported)
{
    const auto ship = load(kShipDir + QStringLiteral("/ship.json"));
    ASSERT_NE(ship, nullptr);
    const QString blocker = QDir(dir_.path()).filePath(QStringLiteral("file"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    const QString target = blocker + QStringLiteral("/pictures");
    QString error;
    EXPECT_FALSE(SnapshotRunner(*ship, target).writeAll(&error));
    EXPECT_TRUE(error.contains(target)) << error.toStdString();
}
