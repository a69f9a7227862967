// The client against the reference data server run as a process that is killed
// and started again on the same port: the client notices, reconnects with
// InitSvr and books again, and gets whole records only.

#include "tavimor_fixture.h"

#include <QProcess>
#include <QTemporaryDir>

#include <memory>

namespace {

constexpr int kWaitMs = 3000;
constexpr int kRestarts = 3;

const char* const kScenario = R"({
  "points": [ {"name": "R1", "type": "int", "value": 42} ],
  "events": [],
  "repeat": false
})";

class ServerRestart : public ::testing::Test
{
protected:
    void SetUp() override
    {
        callbackCalls().clear();
        ASSERT_TRUE(dir_.isValid());
        QFile scenario(dir_.filePath("scenario.json"));
        ASSERT_TRUE(scenario.open(QIODevice::WriteOnly));
        scenario.write(kScenario);
        scenario.close();
        scenarioPath_ = scenario.fileName();
        ASSERT_NO_FATAL_FAILURE(startServer(0));
    }

    void TearDown() override { stopServer(); }

    /// Starts the server on `port` (0 picks one) and records the port it listens on.
    void startServer(quint16 port)
    {
        server_ = std::make_unique<QProcess>();
        server_->start(QStringLiteral(TAVIMOR_DATASERVER_PATH),
                       {"--port", QString::number(port), "--scenario", scenarioPath_});
        ASSERT_TRUE(server_->waitForStarted(kWaitMs));
        QByteArray line;
        while (!line.contains('\n') && server_->waitForReadyRead(kWaitMs))
            line += server_->readAllStandardOutput();
        ASSERT_TRUE(line.startsWith("listening on 127.0.0.1:")) << line.constData();
        port_ = quint16(line.mid(line.lastIndexOf(':') + 1).trimmed().toUInt());
    }

    void stopServer()
    {
        if (!server_)
            return;
        server_->kill();
        server_->waitForFinished(kWaitMs);
        server_.reset();
    }

    bool waitForCalls(size_t count)
    {
        return QTest::qWaitFor([&] { return callbackCalls().size() >= count; }, kWaitMs);
    }

    QTemporaryDir dir_;
    QString scenarioPath_;
    std::unique_ptr<QProcess> server_;
    quint16 port_ = 0;
    Tavimor client_;
};

TEST_F(ServerRestart, ClientReconnectsAndBooksAgainAfterEveryRestart)
{
    for (int round = 0; round <= kRestarts; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(client_.InitSvr(QStringLiteral("127.0.0.1"), port_), 1);
        callbackCalls().clear();
        ASSERT_EQ(client_.BookDt(QStringLiteral("R1"), 0, 1, recordCallback), 0);
        ASSERT_TRUE(waitForCalls(1));
        ASSERT_EQ(callbackCalls().size(), 1u);
        EXPECT_EQ(recordName(callbackCalls()[0].records[0]), "R1");
        EXPECT_EQ(callbackCalls()[0].records[0].unDt.dw, 42u);
        EXPECT_TRUE(TavimorTestAccess::unanswered(client_).isEmpty());

        stopServer();
        ASSERT_TRUE(QTest::qWaitFor([&] { return TavimorTestAccess::socketError(client_) != -1; }, kWaitMs));
        // Nobody listens now: the attempt fails instead of pretending to connect.
        EXPECT_EQ(client_.InitSvr(QStringLiteral("127.0.0.1"), port_), 0);
        EXPECT_EQ(client_.CancelDt(QStringLiteral("R1")), -1);
        ASSERT_NO_FATAL_FAILURE(startServer(port_));
    }
}

TEST_F(ServerRestart, ReadAfterARestartGetsTheNewServersReply)
{
    ASSERT_EQ(client_.InitSvr(QStringLiteral("127.0.0.1"), port_), 1);
    stopServer();
    ASSERT_NO_FATAL_FAILURE(startServer(port_));
    ASSERT_EQ(client_.InitSvr(QStringLiteral("127.0.0.1"), port_), 1);
    stDt record{};
    EXPECT_GT(client_.ReadDt(QStringLiteral("R1"), record), 0);
    EXPECT_EQ(recordName(record), "R1");
    EXPECT_EQ(record.cStat, 1);
    EXPECT_EQ(record.unDt.dw, 42u);
}

} // namespace
