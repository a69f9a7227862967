// The client against the reference data server run as a process that is killed
// and started again on the same port: the client notices, reconnects with
// InitSvr and books again, and gets whole records only.

#include "data_server_process.h"
#include "tavimor_fixture.h"

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
        ASSERT_TRUE(server_.start());
    }

    bool waitForCalls(size_t count)
    {
        return QTest::qWaitFor([&] { return callbackCalls().size() >= count; }, kWaitMs);
    }

    DataServerProcess server_{kScenario};
    Tavimor client_;
};

TEST_F(ServerRestart, ClientReconnectsAndBooksAgainAfterEveryRestart)
{
    for (int round = 0; round <= kRestarts; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(client_.InitSvr(QStringLiteral("127.0.0.1"), server_.port()), 1);
        callbackCalls().clear();
        ASSERT_EQ(client_.BookDt(QStringLiteral("R1"), 0, 1, recordCallback), 0);
        ASSERT_TRUE(waitForCalls(1));
        ASSERT_EQ(callbackCalls().size(), 1u);
        EXPECT_EQ(recordName(callbackCalls()[0].records[0]), "R1");
        EXPECT_EQ(callbackCalls()[0].records[0].unDt.dw, 42u);
        EXPECT_TRUE(client_.unansweredNames().isEmpty());

        server_.stop();
        ASSERT_TRUE(QTest::qWaitFor([&] { return client_.lastSocketError() != -1; }, kWaitMs));
        // Nobody listens now: the attempt fails instead of pretending to connect.
        EXPECT_EQ(client_.InitSvr(QStringLiteral("127.0.0.1"), server_.port()), 0);
        EXPECT_EQ(client_.CancelDt(QStringLiteral("R1")), -1);
        ASSERT_TRUE(server_.start(server_.port()));
    }
}

TEST_F(ServerRestart, ReadAfterARestartGetsTheNewServersReply)
{
    ASSERT_EQ(client_.InitSvr(QStringLiteral("127.0.0.1"), server_.port()), 1);
    server_.stop();
    ASSERT_TRUE(server_.start(server_.port()));
    ASSERT_EQ(client_.InitSvr(QStringLiteral("127.0.0.1"), server_.port()), 1);
    stDt record{};
    EXPECT_GT(client_.ReadDt(QStringLiteral("R1"), record), 0);
    EXPECT_EQ(recordName(record), "R1");
    EXPECT_EQ(record.cStat, 1);
    EXPECT_EQ(record.unDt.dw, 42u);
}

} // namespace
