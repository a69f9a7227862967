// The client against a hostile peer on 127.0.0.1: connections dropped mid-frame,
// bytes dribbled one at a time, false lengths, noise and floods. Whatever arrives,
// only whole frames reach the callback, and a new connection starts clean.

#include "tavimor_fixture.h"

#include <QRandomGenerator>
#include <QtEndian>

namespace {

using ClientFaults = PeerFixture;

constexpr int kBookT1Len = 29;
constexpr int kFloodUnits = 10000;
// Units per frame in the flood: 200 units of 18 bytes keep a frame well inside the receive buffer.
constexpr int kUnitsPerFrame = 200;

QByteArray unit(const QByteArray& name, quint32 value)
{
    QByteArray out;
    out.append(char(name.size())).append(name);
    out.append(hex("00 01 04 01 00000000"));
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return out + bytes;
}

QByteArray frame(const QByteArray& units, int count)
{
    QByteArray out = hex("FAFAFAFA 0000 02 0000");
    out.append(char(units.size() & 0xFF)).append(char(units.size() >> 8)).append(char(count));
    return out + units + hex("EEEE");
}

QByteArray update(const QByteArray& name, quint32 value)
{
    return frame(unit(name, value), 1);
}

class ReconnectingFixture : public PeerFixture
{
protected:
    /// Drops the peer's end and waits until the client has noticed.
    void dropPeer()
    {
        peer_->abort();
        ASSERT_TRUE(QTest::qWaitFor([&] { return client_.lastSocketError() != -1; }, kWaitMs));
    }

    /// Connects the client again and takes the new peer.
    void reconnect()
    {
        ASSERT_EQ(client_.InitSvr(QStringLiteral("127.0.0.1"), server_.serverPort()), 1);
        ASSERT_TRUE(server_.waitForNewConnection(kWaitMs));
        peer_ = server_.nextPendingConnection();
        ASSERT_NE(peer_, nullptr);
    }
};

TEST_F(ReconnectingFixture, FrameCutByAClosedConnectionIsNeverJoinedToTheNextOne)
{
    ASSERT_EQ(client_.BookDt(QStringLiteral("T1"), 0, 1, recordCallback), 0);
    ASSERT_EQ(fromClient(kBookT1Len).size(), kBookT1Len);
    const QByteArray old = update("T1", 5);
    toClient(old.left(20));
    ASSERT_TRUE(waitForRest(20));
    dropPeer();
    EXPECT_TRUE(callbackCalls().empty());
    EXPECT_EQ(client_.unansweredNames(), QStringList{"T1"});

    reconnect();
    EXPECT_EQ(client_.reader().pending(), 0);
    // Re-booking sends the unanswered name again, with period 0.
    ASSERT_EQ(client_.BookDt(QStringLiteral("T1"), 0, -1, recordCallback), 0);
    const QByteArray rebook = fromClient(kBookT1Len);
    ASSERT_EQ(rebook.size(), kBookT1Len);
    EXPECT_EQ(rebook.mid(13, 2), "T1");
    EXPECT_EQ(rebook.mid(23, 4), hex("00000000"));

    // The old frame's tail would complete the old head if it had been kept.
    toClient(old.mid(20) + update("T1", 7));
    ASSERT_TRUE(waitForCalls(1));
    ASSERT_TRUE(waitForRest(0));
    ASSERT_EQ(callbackCalls().size(), 1u);
    EXPECT_EQ(callbackCalls()[0].records[0].unDt.dw, 7u);
    EXPECT_TRUE(client_.unansweredNames().isEmpty());
}

TEST_F(ReconnectingFixture, HugeLengthWithAShortBodyDeliversNothingAndTheNextConnectionWorks)
{
    deliverTo(client_, recordCallback);
    toClient(hex("FAFAFAFA 0000 02 0000 FFFF 01") + update("T1", 1).mid(12, 10));
    dropPeer();
    reconnect();
    toClient(update("T2", 2));
    ASSERT_TRUE(waitForCalls(1));
    ASSERT_TRUE(waitForRest(0));
    ASSERT_EQ(callbackCalls().size(), 1u);
    EXPECT_EQ(recordName(callbackCalls()[0].records[0]), "T2");
}

TEST_F(ClientFaults, FrameDribbledOneByteAtATimeArrivesOnceWhenWhole)
{
    deliverTo(client_, recordCallback);
    const QByteArray bytes = update("T1", 9);
    for (int i = 0; i < bytes.size() - 1; ++i) {
        toClient(bytes.mid(i, 1));
        // Each byte is taken and held before the next is sent.
        ASSERT_TRUE(waitForRest(i + 1)) << "byte " << i;
        ASSERT_TRUE(callbackCalls().empty()) << "byte " << i;
    }
    toClient(bytes.right(1));
    ASSERT_TRUE(waitForCalls(1));
    EXPECT_EQ(callbackCalls()[0].records[0].unDt.dw, 9u);
    EXPECT_EQ(client_.reader().pending(), 0);
}

TEST_F(ClientFaults, HeldLengthWithoutItsBodyIsDroppedOnceItsLengthHasArrived)
{
    // The client waits for the 4014 bytes announced; without a tail there, the head was false.
    deliverTo(client_, recordCallback);
    toClient(hex("FAFAFAFA 0000 02 0000 A00F 01") + QByteArray(30, 'x'));
    ASSERT_TRUE(waitForRest(42));
    toClient(QByteArray(4014 - 42, 'x'));
    ASSERT_TRUE(waitForRest(13));
    toClient(update("T1", 3));
    ASSERT_TRUE(waitForCalls(1));
    ASSERT_TRUE(waitForRest(0));
    ASSERT_EQ(callbackCalls().size(), 1u);
    EXPECT_EQ(callbackCalls()[0].records[0].unDt.dw, 3u);
}

TEST_F(ClientFaults, NoiseAroundFramesDeliversExactlyTheFrames)
{
    deliverTo(client_, recordCallback);
    QRandomGenerator random(11);
    QByteArray stream;
    for (quint32 i = 0; i < 8; ++i) {
        QByteArray noise(8 * 1024, '\0');
        random.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
        // Heads inside the noise announce lengths the noise never completes.
        noise.replace(100, 4, hex("FAFAFAFA"));
        stream += noise + update("N", i);
    }
    toClient(stream);
    ASSERT_TRUE(waitForCalls(8));
    ASSERT_TRUE(waitForRest(0));
    ASSERT_EQ(callbackCalls().size(), 8u);
    for (quint32 i = 0; i < 8; ++i)
        EXPECT_EQ(callbackCalls()[i].records[0].unDt.dw, i);
}

TEST_F(ClientFaults, TenThousandUnitsInOneBurstAllArriveInOrder)
{
    deliverTo(client_, recordCallback);
    QByteArray burst;
    for (int first = 0; first < kFloodUnits; first += kUnitsPerFrame) {
        QByteArray units;
        for (int i = first; i < first + kUnitsPerFrame; ++i)
            units += unit("P" + QByteArray::number(i), quint32(i));
        burst += frame(units, kUnitsPerFrame);
    }
    toClient(burst);
    ASSERT_TRUE(waitForCalls(kFloodUnits / kUnitsPerFrame));
    ASSERT_EQ(callbackCalls().size(), size_t(kFloodUnits / kUnitsPerFrame));
    int next = 0;
    for (const CallbackCall& call : callbackCalls()) {
        ASSERT_EQ(call.count, kUnitsPerFrame);
        for (const stDt& record : call.records) {
            ASSERT_EQ(recordName(record), "P" + QByteArray::number(next));
            ASSERT_EQ(record.unDt.dw, quint32(next));
            ++next;
        }
    }
    EXPECT_EQ(next, kFloodUnits);
}

} // namespace
