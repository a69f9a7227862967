// The client against the reference data server, run as its own process so the
// client's blocking calls cannot starve it.

#include "data_server_process.h"
#include "tavimor_fixture.h"

#include <QTextCodec>

namespace {

const char* const kScenario = R"({
  "points": [
    {"name": "R1", "type": "int", "value": 42},
    {"name": "F1", "type": "double", "value": 1.5}
  ],
  "events": [],
  "repeat": false
})";

class ServerTest : public ::testing::Test
{
protected:
    static constexpr int kWaitMs = 3000;

    void SetUp() override
    {
        callbackCalls().clear();
        ASSERT_TRUE(server_.start());
        ASSERT_EQ(client_.InitSvr(QStringLiteral("127.0.0.1"), server_.port()), 1);
    }

    bool waitForCalls(size_t count)
    {
        return QTest::qWaitFor([&] { return callbackCalls().size() >= count; }, kWaitMs);
    }

    DataServerProcess server_{kScenario};
    Tavimor client_;
};

TEST_F(ServerTest, ReadFillsTheRecordFromTheReply)
{
    stDt record{};
    EXPECT_EQ(client_.ReadDt(QStringLiteral("R1"), record), 25);
    EXPECT_EQ(record.cStat, 1);
    EXPECT_EQ(record.nTp, 1);
    EXPECT_EQ(record.unDt.dw, 42u);
    EXPECT_STREQ(record.szNm, "R1");
}

TEST_F(ServerTest, BookingDeliversTheValueAtOnceAndAnswersTheBooking)
{
    ASSERT_EQ(client_.BookDt(QStringLiteral("F1"), 0, 0, recordCallback), 0);
    ASSERT_EQ(client_.BookDt(QStringLiteral("NOPE"), 0, 1, recordCallback), 0);
    ASSERT_TRUE(waitForCalls(1));
    const stDt& record = callbackCalls()[0].records[0];
    EXPECT_EQ(record.cStat, 0);
    EXPECT_EQ(record.nTp, 128);
    EXPECT_EQ(record.unDt.db, 1.5);
    // The unknown name is still waiting for its first value.
    EXPECT_EQ(client_.unansweredNames(), QStringList({"NOPE"}));
}

TEST_F(ServerTest, PeriodicBookingKeepsUpdating)
{
    ASSERT_EQ(client_.BookDt(QStringLiteral("R1"), 100, 1, recordCallback), 0);
    ASSERT_TRUE(waitForCalls(3));
    for (const CallbackCall& call : callbackCalls())
        EXPECT_EQ(call.records[0].unDt.dw, 42u);
}

TEST_F(ServerTest, WrittenValuesReadBackAndReachTheBooking)
{
    ASSERT_EQ(client_.BookDt(QStringLiteral("火警"), 0, 1, recordCallback), 0);

    stDt text{};
    text.nTp = 64;
    const QByteArray gbkText = QTextCodec::codecForName("GBK")->fromUnicode(QStringLiteral("二号舱起火"));
    std::memcpy(text.unDt.sz, gbkText.constData(), size_t(gbkText.size()));
    EXPECT_GT(client_.WriteDt(QStringLiteral("火警"), text), 0);
    ASSERT_TRUE(waitForCalls(1));
    EXPECT_EQ(recordName(callbackCalls()[0].records[0]),
              QTextCodec::codecForName("GBK")->fromUnicode(QStringLiteral("火警")));
    EXPECT_STREQ(reinterpret_cast<const char*>(callbackCalls()[0].records[0].unDt.sz), gbkText.constData());

    stDt number{};
    number.nTp = 128;
    number.unDt.db = -3.25;
    EXPECT_EQ(client_.WriteDt(QStringLiteral("F1"), number), 33);
    stDt readBack{};
    EXPECT_EQ(client_.ReadDt(QStringLiteral("F1"), readBack), 25);
    EXPECT_EQ(readBack.unDt.db, -3.25);
}

} // namespace
