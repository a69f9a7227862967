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

#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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
    DataLink link(QStringLiteral("127.0.0.1"), server.port(), ship_->valueRoute(), ship_->dataPointNames());
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

    DataLink link(QStringLiteral("127.0.0.1"), port, ship_->valueRoute(), ship_->dataPointNames());
    EXPECT_FALSE(link.open());
    EXPECT_FALSE(link.isConnected());
    EXPECT_FALSE(link.writeInt(kGalleySmoke + QStringLiteral(".ACK"), 1));
}

TEST_F(DataLinkTest, LostConnectionIsAnnouncedAndRetried)
{
    DataServerProcess server;
    ASSERT_TRUE(server.start(kShipDir + QStringLiteral("/scenario.json")));
    const quint16 port = server.port();
    DataLink link(QStringLiteral("127.0.0.1"), port, ship_->valueRoute(), ship_->dataPointNames());
    ASSERT_TRUE(link.open());
    QSignalSpy connection(&link, &DataLink::connectionChanged);
    QSignalSpy retries(&link.supervisor(), &LinkSupervisor::stateChanged);

    server.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !connection.isEmpty(); }, kWaitMs));
    EXPECT_FALSE(connection.takeFirst().at(0).toBool());
    ASSERT_FALSE(retries.isEmpty());
    EXPECT_EQ(retries.first().at(0).value<LinkSupervisor::State>(), LinkSupervisor::State::WaitingToRetry);
    EXPECT_GT(retries.first().at(1).toInt(), 0);

    DataServerProcess again;
    ASSERT_TRUE(again.start(kShipDir + QStringLiteral("/scenario.json"), port));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.isConnected(); }, kWaitMs));
    ASSERT_FALSE(connection.isEmpty());
    EXPECT_TRUE(connection.last().at(0).toBool());
}

TEST_F(DataLinkTest, UnansweredConnectKeepsTheEventLoopRunningAndIsRetried)
{
    // A listening socket whose backlog of one is taken by a connection never
    // accepted: the kernel drops every further SYN, as a host that drops packets.
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof(addr);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), len), 0);
    ASSERT_EQ(::listen(fd, 0), 0);
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len), 0);
    const quint16 port = ntohs(addr.sin_port);
    QTcpSocket fillers[2];
    for (QTcpSocket& filler : fillers)
        filler.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(fillers[0].waitForConnected(kWaitMs));

    DataLink link(QStringLiteral("127.0.0.1"), port, ship_->valueRoute(), ship_->dataPointNames());
    QSignalSpy states(&link.supervisor(), &LinkSupervisor::stateChanged);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    link.start();
    EXPECT_EQ(link.supervisor().state(), LinkSupervisor::State::Connecting);
    EXPECT_EQ(ticks, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.supervisor().state() == LinkSupervisor::State::WaitingToRetry; }, kWaitMs));
    // The attempt gave up after its 3 s while the loop kept turning.
    EXPECT_GT(ticks, 50);
    EXPECT_FALSE(link.isConnected());
    ASSERT_GE(states.size(), 2);
    EXPECT_EQ(states.first().at(0).value<LinkSupervisor::State>(), LinkSupervisor::State::Connecting);
    EXPECT_GT(states.last().at(1).toInt(), 0);
    ::close(fd);
}
