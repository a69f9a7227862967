// The reference data server against hostile clients over 127.0.0.1: in-process,
// clients that vanish mid-frame or right after booking, that dribble bytes, that
// come and go in numbers; as a real process, clients and scenarios that push
// against each of its limits. The server drops what is broken and keeps serving.

#include "data_server_process.h"
#include "frame_reader.h"
#include "listener.h"
#include "point_store.h"
#include "server_limits.h"

#include <gtest/gtest.h>

#include <QTcpSocket>
#include <QTest>
#include <QtEndian>

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kWaitMs = 3000;
constexpr int kChurnClients = 100;
constexpr int kBurstUnits = 10000;
// 200 read units of 11 bytes keep a frame well inside the server's frame limit.
constexpr int kUnitsPerFrame = 200;

const QByteArray kBookT1Periodic =
    QByteArray::fromHex("FAFAFAFA 0000 02 0000 0F00 01 02 5431 00 01 04 08 00000000 64000000 EEEE");
const QByteArray kReadT1 = QByteArray::fromHex("FAFAFAFA 0000 00 0000 0B00 01 02 5431 00 03 00 00 00000000 EEEE");
const QByteArray kBookT1OnChange =
    QByteArray::fromHex("FAFAFAFA 0000 02 0000 0F00 01 02 5431 00 01 04 08 00000000 00000000 EEEE");

/// A one-unit frame of operation `op` for `name` carrying `value` of type `type`.
QByteArray unitFrame(quint8 op, const QByteArray& name, quint8 type = 0, const QByteArray& value = {})
{
    QByteArray frame = QByteArray::fromHex("FAFAFAFA 0000 02 0000");
    const int dataLen = 9 + name.size() + value.size();
    frame.append(char(dataLen & 0xFF)).append(char(dataLen >> 8)).append(char(1)).append(char(name.size()));
    frame += name;
    frame.append(char(0)).append(char(op)).append(char(value.size())).append(char(type)).append(4, '\0');
    return frame + value + QByteArray::fromHex("EEEE");
}

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

/// kBurstUnits copies of `unit`, in frames of kUnitsPerFrame.
QByteArray burstOf(const QByteArray& unit)
{
    QByteArray frame = QByteArray::fromHex("FAFAFAFA 0000 00 0000");
    const quint16 dataLen = quint16(unit.size() * kUnitsPerFrame);
    frame.append(char(dataLen & 0xFF)).append(char(dataLen >> 8)).append(char(kUnitsPerFrame));
    frame += unit.repeated(kUnitsPerFrame) + QByteArray::fromHex("EEEE");
    return frame.repeated(kBurstUnits / kUnitsPerFrame);
}

bool isUpdate(const ReceivedUnit& unit)
{
    return unit.op == 1;
}

bool isReadReply(const ReceivedUnit& unit)
{
    return unit.op == 3;
}

/// A raw client that collects the units the server sends it.
class Peer
{
public:
    /// Connects to `port` on 127.0.0.1, from the address `from` when one is given.
    explicit Peer(quint16 port, const QHostAddress& from = QHostAddress())
    {
        if (!from.isNull())
            socket_.bind(from);
        socket_.connectToHost(QHostAddress::LocalHost, port);
        connected_ = socket_.waitForConnected(kWaitMs);
    }

    bool connected() const { return connected_; }
    QTcpSocket& socket() { return socket_; }

    /// Takes what has arrived, without waiting.
    void receive()
    {
        QStringList errors;
        units_ += reader_.feed(socket_.readAll(), &errors);
    }

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
                receive();
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
    Peer flood(listener_.port());
    ASSERT_TRUE(flood.connected());
    flood.send(burstOf(QByteArray::fromHex("02 5431 00 03 00 00 00000000")));
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

// Against the real server process: one row per way of pushing against a limit.

const QByteArray kScenario = R"({"points": [{"name": "T1", "type": "int", "value": 5}]})";
// 64 descriptors, as under `ulimit -n 64`, leave room for 48 clients.
constexpr int kDescriptorLimit = 64;
constexpr int kClientRoom = kDescriptorLimit - 16;
constexpr int kCrowd = 90;
constexpr int kMaxFloodLines = 6;

struct Hostility {
    const char* name;
    QStringList options;
    QByteArray scenario;
    // Set when the server must refuse to start: what its message names.
    const char* refusal;
    int descriptorLimit;
    std::function<void(DataServerProcess&, Peer& good)> act;
    // When set, given to the server with --writers.
    QByteArray writers;
};

void PrintTo(const Hostility& hostility, std::ostream* out)
{
    *out << hostility.name;
}

long cpuTicks(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // utime and stime are the 12th and 13th fields after the command's closing parenthesis.
    const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
    return fields.value(11).toLong() + fields.value(12).toLong();
}

QList<QByteArray> readReplies(const Peer& peer)
{
    QList<QByteArray> names;
    for (const ReceivedUnit& unit : peer.units()) {
        if (isReadReply(unit))
            names << unit.name;
    }
    return names;
}

// A client that connects right after another left may still meet the cap, and
// is closed at once; the next attempt is served.
bool newClientServed(quint16 port)
{
    return QTest::qWaitFor(
        [&] {
            Peer peer(port);
            peer.send(kReadT1);
            // Either way this try is over; the outer wait judges the answer.
            (void)QTest::qWaitFor(
                [&] {
                    peer.receive();
                    return !peer.units().isEmpty() || peer.socket().state() == QAbstractSocket::UnconnectedState;
                },
                kWaitMs);
            return !peer.units().isEmpty();
        },
        kWaitMs);
}

void crowdAtTheDescriptorLimit(DataServerProcess& server, Peer&)
{
    std::vector<std::unique_ptr<Peer>> crowd;
    for (int i = 0; i < kCrowd; ++i) {
        crowd.push_back(std::make_unique<Peer>(server.port()));
        ASSERT_TRUE(crowd.back()->connected()) << "client " << i;
        crowd.back()->send(kReadT1);
    }
    const auto answered = [&] {
        for (auto& peer : crowd)
            peer->receive();
        return std::count_if(crowd.begin(), crowd.end(), [](auto& peer) { return !peer->units().isEmpty(); });
    };
    const auto closed = [&] {
        return std::count_if(crowd.begin(), crowd.end(),
                             [](auto& peer) { return peer->socket().state() == QAbstractSocket::UnconnectedState; });
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered() == kClientRoom - 1; }, kWaitMs));
    // The rest are told at once, by the connection closing, and cost the server nothing after.
    ASSERT_TRUE(QTest::qWaitFor([&] { return closed() == kCrowd - (kClientRoom - 1); }, kWaitMs));
    const long before = cpuTicks(server.pid());
    QTest::qWait(1000);
    EXPECT_LT(cpuTicks(server.pid()) - before, sysconf(_SC_CLK_TCK) / 4);
    EXPECT_EQ(answered(), kClientRoom - 1);
    crowd.clear();
    EXPECT_TRUE(newClientServed(server.port())) << "places freed by leaving clients are served";
}

void clientsBeyondTheCap(DataServerProcess& server, Peer&)
{
    auto second = std::make_unique<Peer>(server.port());
    second->send(kReadT1);
    ASSERT_TRUE(second->waitFor(isReadReply));
    Peer third(server.port());
    EXPECT_TRUE(QTest::qWaitFor([&] { return third.socket().state() == QAbstractSocket::UnconnectedState; }, kWaitMs))
        << "a client beyond the cap is left waiting";
    EXPECT_TRUE(server.log().contains("closed: 2 clients, the limit"));
    second.reset();
    EXPECT_TRUE(newClientServed(server.port()));
}

void writersGrantPrefixes(DataServerProcess& server, Peer& good)
{
    // 127.0.0.2 is loopback too, but not in the file: it may read and not write.
    Peer stranger(server.port(), QHostAddress(QStringLiteral("127.0.0.2")));
    stranger.send(unitFrame(4, "T9", 1, QByteArray(4, '\0')) + kReadT1);
    ASSERT_TRUE(stranger.waitFor(isReadReply));
    good.send(unitFrame(4, "KLV.A", 1, QByteArray(4, '\1')) + unitFrame(4, "X1", 1, QByteArray(4, '\1')));
    Peer reader(server.port());
    reader.send(unitFrame(3, "T9") + unitFrame(3, "X1") + unitFrame(3, "KLV.A"));
    ASSERT_TRUE(reader.waitFor([](const ReceivedUnit& u) { return isReadReply(u) && u.name == "KLV.A"; }));
    EXPECT_EQ(readReplies(reader), QList<QByteArray>({"KLV.A"}));
    EXPECT_TRUE(server.log().contains("write refused: X1 is not in the writers file"));
    EXPECT_TRUE(server.log().contains("write refused: T9 is not in the writers file"));
}

void bookingsBeyondTheLimit(DataServerProcess& server, Peer&)
{
    Peer hostile(server.port());
    for (int i = 0; i < 8; ++i)
        hostile.send(unitFrame(1, "N" + QByteArray::number(i)));
    hostile.send(kBookT1OnChange + kReadT1);
    ASSERT_TRUE(hostile.waitFor(isReadReply));
    EXPECT_FALSE(std::any_of(hostile.units().begin(), hostile.units().end(), isUpdate)) << "ninth booking taken";
    hostile.send(unitFrame(2, "N0") + kBookT1OnChange);
    EXPECT_TRUE(hostile.waitFor(isUpdate)) << "a cancelled booking makes room";
    EXPECT_TRUE(server.log().contains("booking refused"));
}

void pointsWrittenBeyondTheLimit(DataServerProcess& server, Peer& good)
{
    {
        Peer hostile(server.port());
        for (int i = 0; i < 5; ++i)
            hostile.send(unitFrame(4, "W" + QByteArray::number(i), 1, QByteArray(4, char(i))));
        hostile.send(unitFrame(3, "W3") + unitFrame(3, "W4") + kReadT1);
        ASSERT_TRUE(hostile.waitFor([](const ReceivedUnit& u) { return isReadReply(u) && u.name == "T1"; }));
        EXPECT_EQ(readReplies(hostile), QList<QByteArray>({"W3", "T1"}));
    }
    // Its points stay; beyond six in all, the oldest nobody booked make room.
    good.send(unitFrame(1, "W0", 8, QByteArray(4, '\0')) + kReadT1);
    ASSERT_TRUE(good.waitFor(isReadReply));
    Peer next(server.port());
    for (int i = 0; i < 4; ++i)
        next.send(unitFrame(4, "X" + QByteArray::number(i), 1, QByteArray(4, char(i))));
    next.send(unitFrame(3, "W0") + unitFrame(3, "W1") + unitFrame(3, "W2") + unitFrame(3, "W3") + unitFrame(3, "X3"));
    ASSERT_TRUE(next.waitFor([](const ReceivedUnit& u) { return isReadReply(u) && u.name == "X3"; }));
    EXPECT_EQ(readReplies(next), QList<QByteArray>({"W0", "W3", "X3"}));
    EXPECT_TRUE(server.log().contains("write refused"));
}

void keptPointsOutliveAFillerFlood(DataServerProcess& server, Peer&)
{
    const QByteArray shared = "KLV.INC.DMG.1";
    { // The last console writes its shared point and another, then goes.
        Peer console(server.port());
        const QByteArray one(4, '\1');
        console.send(unitFrame(4, shared, 1, one) + unitFrame(4, "OTHER", 1, one) + kReadT1);
        ASSERT_TRUE(console.waitFor(isReadReply));
    }
    Peer filler(server.port());
    QByteArray flood;
    for (int i = 0; i <= ServerLimits().maxCreatedPoints; ++i)
        flood += unitFrame(4, "F" + QByteArray::number(i), 1, QByteArray(4, '\0'));
    filler.send(flood + unitFrame(3, shared) + unitFrame(3, "OTHER") + unitFrame(3, "F0") + kReadT1);
    ASSERT_TRUE(filler.waitFor([](const ReceivedUnit& u) { return isReadReply(u) && u.name == "T1"; }));
    EXPECT_EQ(readReplies(filler), QList<QByteArray>({shared, "T1"}));
}

void unknownOperationFlood(DataServerProcess& server, Peer&)
{
    {
        Peer hostile(server.port());
        hostile.send(burstOf(QByteArray::fromHex("02 5431 00 09 00 00 00000000")) + kReadT1);
        ASSERT_TRUE(hostile.waitFor(isReadReply));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.log().contains("more lines suppressed"); }, kWaitMs));
    EXPECT_LE(server.log().count("unknown unit operation"), kMaxFloodLines);
}

void silentClient(DataServerProcess& server, Peer& good)
{
    Peer silent(server.port());
    // The good client keeps talking and stays.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            good.send(kReadT1);
            QTest::qWait(100);
            return silent.socket().state() == QAbstractSocket::UnconnectedState;
        },
        kWaitMs));
    EXPECT_TRUE(server.log().contains("closed: silent"));
}

const Hostility kHostilities[] = {
    {"EventTimeOverflows", {}, R"({"events": [{"at": 1e300, "name": "T1", "value": 1}], "repeat": true})",
     R"(scenario.json: events[0]: "at" 1e+300 s)", 0, nullptr, {}},
    {"SpeedStretchesTimesBeyondReach", {"--speed", "1e-300"},
     R"({"events": [{"at": 1, "name": "T1", "value": 1}], "points": [{"name": "T1", "type": "int", "value": 5}]})",
     R"(scenario.json: events[0]: "at" 1 s at --speed 1e-300)", 0, nullptr, {}},
    {"CrowdAtTheDescriptorLimit", {}, {}, nullptr, kDescriptorLimit, crowdAtTheDescriptorLimit, {}},
    {"ClientsBeyondTheCap", {"--max-clients", "2"}, {}, nullptr, 0, clientsBeyondTheCap, {}},
    {"BookingsBeyondTheLimit", {"--max-bookings", "8"}, {}, nullptr, 0, bookingsBeyondTheLimit, {}},
    {"PointsWrittenBeyondTheLimit", {"--max-written-points", "4", "--max-created-points", "6"}, {}, nullptr, 0,
     pointsWrittenBeyondTheLimit, {}},
    {"KeptPointsOutliveAFillerFlood", {"--keep", "KLV.INC.", "--max-written-points", "20000"}, {}, nullptr, 0,
     keptPointsOutliveAFillerFlood, {}},
    {"UnknownOperationFlood", {}, {}, nullptr, 0, unknownOperationFlood, {}},
    {"SilentClient", {"--idle-timeout", "1"}, {}, nullptr, 0, silentClient, {}},
    {"WritersGrantPrefixes", {}, {}, nullptr, 0, writersGrantPrefixes, "127.0.0.1 T KLV. # the console\n10.0.0.0/8 *\n"},
    {"WritersFileMalformed", {}, {}, R"(writers.txt: line 2: "300.1.1.1" is not a numeric address or subnet)", 0,
     nullptr, "127.0.0.1 T\n300.1.1.1 KLV.\n"},
};

class HostileClients : public ::testing::TestWithParam<Hostility>
{
};

TEST_P(HostileClients, MeetALimitAndLeaveTheOthersServed)
{
    const Hostility& hostility = GetParam();
    DataServerProcess server(hostility.scenario.isEmpty() ? kScenario : hostility.scenario);
    QStringList options = hostility.options;
    QTemporaryDir writersDir;
    if (!hostility.writers.isEmpty()) {
        QFile writers(writersDir.filePath(QStringLiteral("writers.txt")));
        ASSERT_TRUE(writers.open(QIODevice::WriteOnly) && writers.write(hostility.writers) == hostility.writers.size());
        options << QStringLiteral("--writers") << writers.fileName();
    }
    server.setArguments(options);
    server.setDescriptorLimit(hostility.descriptorLimit);
    if (hostility.refusal) {
        EXPECT_FALSE(server.start());
        EXPECT_EQ(server.waitForExit(kWaitMs), 1);
        EXPECT_TRUE(server.log().contains(hostility.refusal)) << server.log().constData();
        return;
    }
    ASSERT_TRUE(server.start());
    Peer good(server.port());
    ASSERT_TRUE(good.connected());
    good.send(kBookT1OnChange);
    ASSERT_TRUE(good.waitFor(isUpdate));

    hostility.act(server, good);

    good.send(writeT1(77));
    EXPECT_TRUE(good.waitFor([](const ReceivedUnit& u) { return isUpdate(u) && intOf(u) == 77; }));
    EXPECT_EQ(server.waitForExit(0), -1) << "the server ended";
}

INSTANTIATE_TEST_SUITE_P(Rows, HostileClients, ::testing::ValuesIn(kHostilities),
                         [](const ::testing::TestParamInfo<Hostility>& info) { return info.param.name; });

} // namespace
