// The reference data server in-process against hostile clients over 127.0.0.1:
// clients that vanish mid-frame or right after booking, that dribble bytes, that
// come and go in numbers. The server drops what is broken and keeps serving.

#include "frame_reader.h"
#include "listener.h"
#include "point_store.h"

#include <gtest/gtest.h>

#include <QTcpSocket>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kWaitMs = 3000;
constexpr int kChurnClients = 100;
constexpr int kBurstUnits = 10000;
// 200 read units of 11 bytes keep a frame well inside the server's frame limit.
constexpr int kUnitsPerFrame = 200;

const QByteArray kBookT1Periodic =
    QByteArray::fromHex("FAFAFAFA 0000 02 0000 0F00 01 02 5431 00 01 04 08 00000000 64000000 EEEE");
const QByteArray kReadT1 = QByteArray::fromHex("FAFAFAFA 0000 00 0000 0B00 01 02 5431 00 03 00 00 00000000 EEEE");

QByteArray writeT1(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return QByteArray::fromHex("FAFAFAFA 0000 02 0000 0F00 01 02 5431 00 04 04 01 00000000") + bytes
        + QByteArray::fromHex("EEEE");
}

qint32 intOf(const ReceivedUnit& unit)
{
    return qFromLittleEndian<qint32>(unit.value.constData());
}

/// A raw client that collects the units the server sends it.
class Peer
{
public:
    explicit Peer(quint16 port)
    {
        socket_.connectToHost(QHostAddress::LocalHost, port);
        connected_ = socket_.waitForConnected(kWaitMs);
    }

    bool connected() const { return connected_; }
    QTcpSocket& socket() { return socket_; }

    void send(const QByteArray& bytes)
    {
        socket_.write(bytes);
        socket_.flush();
    }

    /// Waits until a unit satisfying `match` has arrived.
    template <typename Match>
    bool waitFor(Match match)
    {
        return poll([&] { return std::any_of(units_.begin(), units_.end(), match); });
    }

    /// Waits until `count` units have arrived in total.
    bool waitForCount(int count)
    {
        return poll([&] { return units_.size() >= count; });
    }

    const QVector<ReceivedUnit>& units() const { return units_; }

private:
    template <typename Done>
    bool poll(Done done)
    {
        return QTest::qWaitFor(
            [&] {
                QStringList errors;
                units_ += reader_.feed(socket_.readAll(), &errors);
                return done();
            },
            kWaitMs);
    }

    QTcpSocket socket_;
    FrameReader reader_;
    QVector<ReceivedUnit> units_;
    bool connected_ = false;
};

class ServerFaults : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(listener_.listen(QHostAddress::LocalHost, 0, &error)) << error.toStdString();
        PointValue five;
        five.bytes = QByteArray::fromHex("05000000");
        store_.set("T1", five);
        good_ = std::make_unique<Peer>(listener_.port());
        ASSERT_TRUE(good_->connected());
        good_->send(kBookT1Periodic);
        ASSERT_TRUE(good_->waitFor([](const ReceivedUnit& u) { return u.op == 1; }));
    }

    /// The well-behaved client still gets a fresh value written by another client.
    void expectGoodClientServed(qint32 value)
    {
        Peer writer(listener_.port());
        ASSERT_TRUE(writer.connected());
        writer.send(writeT1(value));
        EXPECT_TRUE(good_->waitFor([value](const ReceivedUnit& u) { return u.op == 1 && intOf(u) == value; }));
    }

    bool waitForClients(int count)
    {
        return QTest::qWaitFor([&] { return listener_.clientCount() == count; }, kWaitMs);
    }

    PointStore store_;
    Listener listener_{&store_};
    std::unique_ptr<Peer> good_;
};

TEST(ServerFrameReader, FrameSplitAnywhereIsReadOnceWhole)
{
    const QByteArray frame = kBookT1Periodic + kReadT1;
    for (int cut = 1; cut < frame.size(); ++cut) {
        FrameReader reader;
        QStringList errors;
        QVector<ReceivedUnit> units = reader.feed(frame.left(cut), &errors);
        units += reader.feed(frame.mid(cut), &errors);
        ASSERT_EQ(units.size(), 2) << "cut at " << cut;
        EXPECT_EQ(units[0].op, 1);
        EXPECT_EQ(units[1].op, 3);
        EXPECT_TRUE(errors.isEmpty()) << "cut at " << cut << ": " << errors.join(' ').toStdString();
        EXPECT_EQ(reader.pending(), 0);
    }
}

TEST_F(ServerFaults, ClientGoneMidFrameOrRightAfterBookingLeavesNoSessionBehind)
{
    {
        Peer cut(listener_.port());
        ASSERT_TRUE(cut.connected());
        cut.send(kBookT1Periodic.left(17));
        Peer hugeLength(listener_.port());
        ASSERT_TRUE(hugeLength.connected());
        hugeLength.send(QByteArray::fromHex("FAFAFAFA 0000 02 0000 FFFF 01 02 5431"));
        Peer booker(listener_.port());
        ASSERT_TRUE(booker.connected());
        // A periodic booking whose timer outlives the client's interest.
        booker.send(kBookT1Periodic);
        ASSERT_TRUE(booker.waitFor([](const ReceivedUnit& u) { return u.op == 1; }));
        ASSERT_TRUE(waitForClients(4));
    }
    ASSERT_TRUE(waitForClients(1));
    expectGoodClientServed(21);
    // Two more periods of the good client's booking: the gone booker's timer fired
    // as often, had it outlived its session.
    const int seen = good_->units().size();
    ASSERT_TRUE(good_->waitForCount(seen + 2));
    expectGoodClientServed(22);
}

TEST_F(ServerFaults, RequestDribbledOneByteAtATimeIsAnswered)
{
    Peer slow(listener_.port());
    ASSERT_TRUE(slow.connected());
    for (char byte : kReadT1) {
        slow.send(QByteArray(1, byte));
        QTest::qWait(1);
    }
    ASSERT_TRUE(slow.waitFor([](const ReceivedUnit& u) { return u.op == 3; }));
    EXPECT_EQ(slow.units().size(), 1);
    EXPECT_EQ(intOf(slow.units()[0]), 5);
}

TEST_F(ServerFaults, TenThousandUnitsInOneBurstAreAllAnswered)
{
    const QByteArray readUnit = QByteArray::fromHex("02 5431 00 03 00 00 00000000");
    QByteArray frame = QByteArray::fromHex("FAFAFAFA 0000 00 0000");
    const quint16 dataLen = quint16(readUnit.size() * kUnitsPerFrame);
    frame.append(char(dataLen & 0xFF)).append(char(dataLen >> 8)).append(char(kUnitsPerFrame));
    frame += readUnit.repeated(kUnitsPerFrame) + QByteArray::fromHex("EEEE");

    Peer flood(listener_.port());
    ASSERT_TRUE(flood.connected());
    flood.send(frame.repeated(kBurstUnits / kUnitsPerFrame));
    ASSERT_TRUE(flood.waitForCount(kBurstUnits));
    EXPECT_EQ(flood.units().size(), kBurstUnits);
    EXPECT_TRUE(std::all_of(flood.units().begin(), flood.units().end(),
                            [](const ReceivedUnit& u) { return u.op == 3 && u.name == "T1" && intOf(u) == 5; }));
    expectGoodClientServed(44);
}

TEST_F(ServerFaults, ManyClientsComingAndGoingLeaveTheServerServing)
{
    for (int i = 0; i < kChurnClients; ++i) {
        // One at a time, so the listener's queue of pending connections never fills.
        ASSERT_TRUE(waitForClients(1)) << "client " << i;
        Peer passing(listener_.port());
        ASSERT_TRUE(passing.connected()) << "client " << i;
        ASSERT_TRUE(waitForClients(2)) << "client " << i;
        // Every other one leaves half a request behind.
        if (i % 2 == 0)
            passing.send(kReadT1.left(i % kReadT1.size()));
    }
    ASSERT_TRUE(waitForClients(1));
    expectGoodClientServed(33);
}

} // namespace
