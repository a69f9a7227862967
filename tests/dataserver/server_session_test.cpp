// The reference server in-process, spoken to over 127.0.0.1 with raw frames.

#include "frame_reader.h"
#include "listener.h"
#include "point_store.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <memory>

namespace {

constexpr int kWaitMs = 3000;

const char* const kBookT1OnChange = "FAFAFAFA 0000 02 0000 0F00 01 02 5431 00 01 04 08 00000000 00000000 EEEE";
const char* const kReadT1 = "FAFAFAFA 0000 00 0000 0B00 01 02 5431 00 03 00 00 00000000 EEEE";

PointValue intPoint(qint32 value)
{
    PointValue point;
    point.type = 1;
    point.bytes = QByteArray(4, '\0');
    qToLittleEndian(value, point.bytes.data());
    return point;
}

/// A raw client that collects the units the server sends it.
class RawClient
{
public:
    explicit RawClient(quint16 port)
    {
        socket_.connectToHost(QHostAddress::LocalHost, port);
        connected_ = socket_.waitForConnected(kWaitMs);
    }

    bool connected() const { return connected_; }
    void send(const QByteArray& bytes) { socket_.write(bytes); }

    /// Waits until `count` units have arrived in total.
    bool waitForUnits(int count)
    {
        return QTest::qWaitFor(
            [&] {
                QStringList errors;
                units_ += reader_.feed(socket_.readAll(), &errors);
                return units_.size() >= count;
            },
            kWaitMs);
    }

    /// Raw bytes received, for exact comparisons (use instead of waitForUnits).
    QByteArray waitForBytes(int size)
    {
        QByteArray bytes;
        if (!QTest::qWaitFor(
                [&] {
                    bytes += socket_.readAll();
                    return bytes.size() >= size;
                },
                kWaitMs))
            ADD_FAILURE() << "server sent " << bytes.size() << " of " << size << " bytes";
        return bytes;
    }

    const QVector<ReceivedUnit>& units() const { return units_; }

private:
    QTcpSocket socket_;
    FrameReader reader_;
    QVector<ReceivedUnit> units_;
    bool connected_ = false;
};

qint32 intOf(const ReceivedUnit& unit)
{
    return qFromLittleEndian<qint32>(unit.value.constData());
}

class ServerSession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(listener_.listen(QHostAddress::LocalHost, 0, &error)) << error.toStdString();
        store_.set("T1", intPoint(5));
    }

    std::unique_ptr<RawClient> connect()
    {
        auto client = std::make_unique<RawClient>(listener_.port());
        EXPECT_TRUE(client->connected());
        return client;
    }

    PointStore store_;
    Listener listener_{&store_};
};

TEST_F(ServerSession, BookAnswersAtOnceWithTheCurrentValue)
{
    auto client = connect();
    client->send(QByteArray::fromHex(kBookT1OnChange));
    EXPECT_EQ(client->waitForBytes(29), QByteArray::fromHex("FAFAFAFA 0000 02 0000 0F00 01"
                                                            "02 5431"
                                                            "00 01 04 01 00000000"
                                                            "05000000"
                                                            "EEEE"));
}

TEST_F(ServerSession, OnChangeBookingFollowsEveryNewValue)
{
    auto client = connect();
    client->send(QByteArray::fromHex(kBookT1OnChange));
    ASSERT_TRUE(client->waitForUnits(1));
    store_.set("T1", intPoint(6));
    store_.set("T2", intPoint(99));
    store_.set("T1", intPoint(7));
    ASSERT_TRUE(client->waitForUnits(3));
    EXPECT_EQ(intOf(client->units()[1]), 6);
    EXPECT_EQ(intOf(client->units()[2]), 7);
}

TEST_F(ServerSession, PeriodicBookingRepeatsTheValue)
{
    auto client = connect();
    client->send(QByteArray::fromHex("FAFAFAFA 0000 02 0000 0F00 01 02 5431 00 01 04 08 00000000 64000000 EEEE"));
    ASSERT_TRUE(client->waitForUnits(4));
    for (const ReceivedUnit& unit : client->units()) {
        EXPECT_EQ(unit.op, 1);
        EXPECT_EQ(intOf(unit), 5);
    }
}

TEST_F(ServerSession, BookOfAnUnknownNameWaitsForItsFirstValue)
{
    auto client = connect();
    client->send(QByteArray::fromHex("FAFAFAFA 0000 02 0000 0F00 01 02 4E57 00 01 04 08 00000000 00000000 EEEE"));
    // The read reply proves the book was handled without an answer.
    client->send(QByteArray::fromHex(kReadT1));
    ASSERT_TRUE(client->waitForUnits(1));
    EXPECT_EQ(client->units()[0].op, 3);
    store_.set("NW", intPoint(1));
    ASSERT_TRUE(client->waitForUnits(2));
    EXPECT_EQ(client->units()[1].name, "NW");
}

TEST_F(ServerSession, PeriodicBookingOfAnUnknownNameRefreshesOnceItHasAValue)
{
    auto client = connect();
    client->send(QByteArray::fromHex("FAFAFAFA 0000 02 0000 0F00 01 02 4E57 00 01 04 08 00000000 64000000 EEEE"));
    client->send(QByteArray::fromHex(kReadT1));
    ASSERT_TRUE(client->waitForUnits(1));
    store_.set("NW", intPoint(1));
    // The new value, then refreshes every period.
    ASSERT_TRUE(client->waitForUnits(4));
    EXPECT_TRUE(std::all_of(client->units().begin() + 1, client->units().end(),
                            [](const ReceivedUnit& unit) { return unit.name == "NW" && unit.op == 1; }));
}

TEST_F(ServerSession, ReadRepliesWithOperationThreeAndUnknownNamesGetNone)
{
    auto client = connect();
    client->send(QByteArray::fromHex("FAFAFAFA 0000 00 0000 0B00 01 02 5858 00 03 00 00 00000000 EEEE"));
    client->send(QByteArray::fromHex(kReadT1));
    EXPECT_EQ(client->waitForBytes(29), QByteArray::fromHex("FAFAFAFA 0000 02 0000 0F00 01"
                                                            "02 5431"
                                                            "00 03 04 01 00000000"
                                                            "05000000"
                                                            "EEEE"));
}

TEST_F(ServerSession, WriteIsStoredAndPushedToOtherSubscribers)
{
    auto watcher = connect();
    auto writer = connect();
    watcher->send(QByteArray::fromHex(kBookT1OnChange));
    ASSERT_TRUE(watcher->waitForUnits(1));

    // A 2-byte integer is refused; the 4-byte one is taken.
    writer->send(QByteArray::fromHex("FAFAFAFA 0000 02 0000 0D00 01 02 5431 00 04 02 01 00000000 0900 EEEE"));
    writer->send(QByteArray::fromHex("FAFAFAFA 0000 02 0000 0F00 01 02 5431 00 04 04 01 00000000 09000000 EEEE"));
    ASSERT_TRUE(watcher->waitForUnits(2));
    EXPECT_EQ(intOf(watcher->units()[1]), 9);
    EXPECT_EQ(store_.value("T1"), intPoint(9));

    // Text to a new name creates it.
    writer->send(QByteArray::fromHex("FAFAFAFA 0000 02 0000 0E00 01 02 5458 00 04 03 40 00000000 616263 EEEE"));
    writer->send(QByteArray::fromHex("FAFAFAFA 0000 00 0000 0B00 01 02 5458 00 03 00 00 00000000 EEEE"));
    ASSERT_TRUE(writer->waitForUnits(1));
    EXPECT_EQ(writer->units()[0].type, 64);
    EXPECT_EQ(writer->units()[0].value, "abc");
}

TEST_F(ServerSession, BurstOfWritesLargerThanOneReadReachesSubscribersWholeAndInOrder)
{
    auto watcher = connect();
    auto writer = connect();
    watcher->send(QByteArray::fromHex(kBookT1OnChange));
    ASSERT_TRUE(watcher->waitForUnits(1));

    // More bytes than the server takes in one read, sent at once.
    constexpr int kWrites = 4000;
    QByteArray burst;
    for (int i = 0; i < kWrites; ++i) {
        QByteArray frame = QByteArray::fromHex("FAFAFAFA 0000 02 0000 0F00 01 02 5431 00 04 04 01 00000000 00000000 EEEE");
        qToLittleEndian(qint32(i), frame.data() + frame.size() - 6);
        burst += frame;
    }
    writer->send(burst);
    ASSERT_TRUE(watcher->waitForUnits(1 + kWrites));
    for (int i = 0; i < kWrites; ++i)
        ASSERT_EQ(intOf(watcher->units()[1 + i]), i);
    EXPECT_EQ(store_.value("T1"), intPoint(kWrites - 1));
}

TEST_F(ServerSession, CancelStopsTheUpdates)
{
    auto client = connect();
    client->send(QByteArray::fromHex(kBookT1OnChange));
    ASSERT_TRUE(client->waitForUnits(1));
    client->send(QByteArray::fromHex("FAFAFAFA 0000 00 0000 0B00 01 02 5431 00 02 00 00 00000000 EEEE"));
    client->send(QByteArray::fromHex("FAFAFAFA 0000 02 0000 0F00 01 02 5431 00 04 04 01 00000000 08000000 EEEE"));
    client->send(QByteArray::fromHex(kReadT1));
    ASSERT_TRUE(client->waitForUnits(2));
    EXPECT_EQ(client->units()[1].op, 3);
    EXPECT_EQ(intOf(client->units()[1]), 8);
}

TEST_F(ServerSession, HostileClientDoesNotDisturbTheOthers)
{
    auto good = connect();
    auto hostile = connect();
    good->send(QByteArray::fromHex("FAFAFAFA 0000 02 0000 0F00 01 02 5431 00 01 04 08 00000000 64000000 EEEE"));
    ASSERT_TRUE(good->waitForUnits(1));

    QRandomGenerator random(7);
    QByteArray noise(64 * 1024, '\0');
    random.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    hostile->send(noise);
    hostile->send(QByteArray(3000, char(0xFA)));
    hostile->send(QByteArray::fromHex("FAFAFAFA 0000 02 0000 FFFF 01"));
    hostile->send(QByteArray::fromHex("FAFAFAFA 0000 02 0000 0B00 09 FF 5431 00 09 00 00 00000000 EEEE"));
    hostile->send(QByteArray::fromHex("FAFAFAFA 0000 02 0000 0B00 01 02 5431 00 09 00 00 00000000 EEEE"));
    hostile->send(QByteArray::fromHex("FAFAFAFA 0000 02 0000 0000 00 EEEE"));

    const int before = good->units().size();
    ASSERT_TRUE(good->waitForUnits(before + 3));
    good->send(QByteArray::fromHex(kReadT1));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            good->waitForUnits(0);
            return std::any_of(good->units().begin(), good->units().end(),
                               [](const ReceivedUnit& unit) { return unit.op == 3; });
        },
        kWaitMs));

    // After its garbage a well-formed request from the same client is still served.
    hostile->send(QByteArray(20, 'x') + QByteArray::fromHex(kReadT1));
    ASSERT_TRUE(hostile->waitForUnits(1));
    EXPECT_EQ(hostile->units()[0].name, "T1");
    EXPECT_EQ(listener_.clientCount(), 2);
}

} // namespace
