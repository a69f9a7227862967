// The station's data link against the real data server, in process.

#include "sample_ship_fixture.h"
#include "data_link.h"
#include "ship.h"
#include "ship_loader.h"
#include "station_config.h"
#include "station_process.h"

#include "entity/sensor_item.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <memory>

namespace {

const QString kShipDir = QStringLiteral(KELVANE_SHIP_DIR);
constexpr int kWaitMs = 15000;
// The first detector of the galley, which trips a second into the scenario.
const QString kGalleySmoke = QStringLiteral("D2-SMK-026");

class DataLinkTest : public SampleShipFixture
{
protected:
};

} // namespace

TEST_F(DataLinkTest, AlarmArrivesAndItsAcknowledgementGoesRoundTheServer)
{
    DataServerProcess server;
    ASSERT_TRUE(server.start(kShipDir + QStringLiteral("/scenario.json")));
    DataLink link(QStringLiteral("127.0.0.1"), server.port(), ship_->index(), ship_->dataPointNames());
    QSignalSpy updates(&link, &DataLink::updatesReceived);
    ASSERT_TRUE(link.open());
    EXPECT_TRUE(link.isConnected());

    const QList<harq::SensorItem*> items = ship_->index().items(kGalleySmoke);
    ASSERT_EQ(items.size(), 1);
    harq::SensorItem* smoke = items.first();
    ASSERT_TRUE(QTest::qWaitFor([&] { return smoke->isAbnormal(); }, kWaitMs));
    EXPECT_TRUE(smoke->needConfirm());
    EXPECT_FALSE(updates.isEmpty());

    ASSERT_TRUE(link.writeInt(smoke->confirmTag(), 1));
    // The item learns of its acknowledgement only from the server's echo.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !smoke->needConfirm(); }, kWaitMs));
    EXPECT_TRUE(smoke->isAbnormal());
}

TEST_F(DataLinkTest, UnreachableServerIsReportedAndNothingIsWritten)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();

    DataLink link(QStringLiteral("127.0.0.1"), port, ship_->index(), ship_->dataPointNames());
    EXPECT_FALSE(link.open());
    EXPECT_FALSE(link.isConnected());
    EXPECT_FALSE(link.writeInt(kGalleySmoke + QStringLiteral(".ACK"), 1));
}

TEST_F(DataLinkTest, LostConnectionIsAnnouncedAndRetried)
{
    DataServerProcess server;
    ASSERT_TRUE(server.start(kShipDir + QStringLiteral("/scenario.json")));
    const quint16 port = server.port();
    DataLink link(QStringLiteral("127.0.0.1"), port, ship_->index(), ship_->dataPointNames());
    ASSERT_TRUE(link.open());
    QSignalSpy connection(&link, &DataLink::connectionChanged);
    QSignalSpy retries(&link, &DataLink::reconnectScheduled);

    server.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !connection.isEmpty(); }, kWaitMs));
    EXPECT_FALSE(connection.takeFirst().at(0).toBool());
    ASSERT_FALSE(retries.isEmpty());
    EXPECT_GT(retries.first().at(0).toInt(), 0);

    DataServerProcess again;
    ASSERT_TRUE(again.start(kShipDir + QStringLiteral("/scenario.json"), port));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.isConnected(); }, kWaitMs));
    ASSERT_FALSE(connection.isEmpty());
    EXPECT_TRUE(connection.last().at(0).toBool());
}
