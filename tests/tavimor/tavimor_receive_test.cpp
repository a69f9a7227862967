// How the client cuts received bytes into frames and records: over a real
// socket, and through its reader alone where read boundaries must be exact.

#include "tavimor_fixture.h"

#include <QtEndian>

namespace {

using ReceiveTest = PeerFixture;

// Update of T1 to the 32-bit value 5.
const char* const kUpdateT1 = "FAFAFAFA 0000 02 0000 0F00 01"
                              "02 5431"
                              "00 01 04 01 00000000"
                              "05000000"
                              "EEEE";

QByteArray unit(quint8 op, const QByteArray& name, quint8 type, const QByteArray& value)
{
    QByteArray out;
    out.append(char(name.size())).append(name);
    out.append(char(0)).append(char(op)).append(char(value.size())).append(char(type));
    out.append(QByteArray(4, '\0')).append(value);
    return out;
}

QByteArray frame(const QByteArray& units, int count)
{
    QByteArray out = hex("FAFAFAFA 0000 02 0000");
    out.append(char(units.size() & 0xFF)).append(char(units.size() >> 8)).append(char(count));
    return out + units + hex("EEEE");
}

QByteArray intUpdate(const QByteArray& name, quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return frame(unit(1, name, 1, bytes), 1);
}

void feed(TavimorReader& reader, const QByteArray& bytes)
{
    reader.feed(bytes.constData(), bytes.size());
}

TEST_F(ReceiveTest, JoinedFramesAreDeliveredOneCallEach)
{
    deliverTo(client_, recordCallback);
    toClient(hex(kUpdateT1) + intUpdate("T2", 6));
    ASSERT_TRUE(waitForCalls(2));
    ASSERT_EQ(callbackCalls().size(), 2u);
    const CallbackCall& first = callbackCalls()[0];
    EXPECT_EQ(first.count, 1);
    EXPECT_EQ(first.flag, 1);
    EXPECT_EQ(recordName(first.records[0]), "T1");
    EXPECT_EQ(first.records[0].cStat, 0);
    EXPECT_EQ(first.records[0].nTp, 1);
    EXPECT_EQ(first.records[0].unDt.dw, 5u);
    EXPECT_EQ(recordName(callbackCalls()[1].records[0]), "T2");
    EXPECT_EQ(callbackCalls()[1].records[0].unDt.dw, 6u);
}

TEST_F(ReceiveTest, SplitFrameIsCompletedFromTheRemainder)
{
    deliverTo(client_, recordCallback);
    const QByteArray whole = hex(kUpdateT1);
    toClient(whole.left(5));
    ASSERT_TRUE(waitForRest(5));
    toClient(whole.mid(5, 15));
    ASSERT_TRUE(waitForRest(20));
    EXPECT_TRUE(callbackCalls().empty());
    toClient(whole.mid(20));
    ASSERT_TRUE(waitForCalls(1));
    EXPECT_EQ(callbackCalls()[0].records[0].unDt.dw, 5u);
    EXPECT_EQ(client_.reader().pending(), 0);
}

TEST_F(ReceiveTest, GarbageAndFalseHeadsAreSkipped)
{
    deliverTo(client_, recordCallback);
    const QByteArray noTail = hex("FAFAFAFA 0000 00 0000 0000 01 0000");
    toClient(hex("00112233 44") + noTail + hex(kUpdateT1) + hex("FAFA") + intUpdate("T2", 2));
    ASSERT_TRUE(waitForCalls(2));
    EXPECT_EQ(recordName(callbackCalls()[0].records[0]), "T1");
    EXPECT_EQ(recordName(callbackCalls()[1].records[0]), "T2");
}

TEST_F(ReceiveTest, StrayHeadByteBeforeAFrameDoesNotCostTheFrame)
{
    // The stray byte makes a head one byte early that announces 3840 bytes; the
    // whole frame right behind it proves it false.
    deliverTo(client_, recordCallback);
    toClient(hex("FA") + hex(kUpdateT1));
    ASSERT_TRUE(waitForCalls(1));
    EXPECT_EQ(recordName(callbackCalls()[0].records[0]), "T1");
    EXPECT_EQ(client_.reader().pending(), 0);
}

TEST_F(ReceiveTest, LargestLegalFrameIsWaitedForThenJudgedByItsTail)
{
    deliverTo(client_, recordCallback);
    const QByteArray head = hex("FAFAFAFA 0000 02 0000 FFFF 01");
    toClient(head + hex(kUpdateT1));
    ASSERT_TRUE(waitForRest(head.size() + 29));
    EXPECT_TRUE(callbackCalls().empty());
    // The announced 65,549 bytes end without a tail: the head was false.
    toClient(QByteArray(0xFFFF + 14 - head.size() - 29, 'x'));
    ASSERT_TRUE(waitForCalls(1));
    EXPECT_EQ(recordName(callbackCalls()[0].records[0]), "T1");
    EXPECT_EQ(client_.reader().pending(), 13);
}

TEST_F(ReceiveTest, EmptyFramesAndBrokenUnitsDeliverOnlyWhatIsWhole)
{
    deliverTo(client_, recordCallback);
    const QByteArray noUnits = hex("FAFAFAFA 0000 02 0000 0F00 00"
                                   "02 5431 00 01 04 01 00000000 05000000"
                                   "EEEE");
    const QByteArray noData = hex("FAFAFAFA 0000 02 0000 0000 01 EEEE");
    // The name claims 200 bytes of an 11-byte data part.
    const QByteArray longName = hex("FAFAFAFA 0000 02 0000 0B00 01 C8 5431 00 01 00 00 00000000 EEEE");
    // The value claims 9 bytes where 4 follow.
    const QByteArray longValue = hex("FAFAFAFA 0000 02 0000 0F00 01 02 5431 00 01 09 01 00000000 05000000 EEEE");
    // Second unit has a non-zero marker byte: the first still arrives.
    QByteArray marked = unit(1, "T3", 1, hex("03000000")) + unit(1, "T4", 1, hex("04000000"));
    marked[int(marked.size() / 2) + 3] = 1;
    // More units than announced: only the announced one counts.
    const QByteArray extra = frame(unit(1, "T5", 1, hex("05000000")) + unit(1, "T6", 1, hex("06000000")), 1);

    toClient(noUnits + noData + longName + longValue + frame(marked, 2) + extra + intUpdate("END", 0));
    ASSERT_TRUE(waitForCalls(3));
    ASSERT_EQ(callbackCalls().size(), 3u);
    EXPECT_EQ(callbackCalls()[0].count, 1);
    EXPECT_EQ(recordName(callbackCalls()[0].records[0]), "T3");
    EXPECT_EQ(callbackCalls()[1].count, 1);
    EXPECT_EQ(recordName(callbackCalls()[1].records[0]), "T5");
    EXPECT_EQ(recordName(callbackCalls()[2].records[0]), "END");
}

TEST_F(ReceiveTest, LongNamesAndTextsAreCutToTheRecord)
{
    deliverTo(client_, recordCallback);
    const QByteArray name(255, 'N');
    toClient(frame(unit(1, name, 64, QByteArray(200, 't')), 1));
    ASSERT_TRUE(waitForCalls(1));
    const stDt& record = callbackCalls()[0].records[0];
    EXPECT_EQ(QByteArray(record.szNm, 128), QByteArray(128, 'N'));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(record.unDt.sz), 128), QByteArray(128, 't'));
    EXPECT_EQ(record.nTp, 64);
}

TEST_F(ReceiveTest, NumericValuesOfTheWrongWidthAreZeroFilled)
{
    deliverTo(client_, recordCallback);
    const QByteArray units = unit(1, "W", 128, hex("AABBCCDD")) + unit(1, "N", 1, hex("0102030405060708"))
        + unit(1, "Z", 0, QByteArray()) + unit(1, "E", 1, hex("09000000"));
    toClient(frame(units, 4));
    ASSERT_TRUE(waitForCalls(1));
    const CallbackCall& call = callbackCalls()[0];
    ASSERT_EQ(call.count, 4);
    EXPECT_EQ(call.records[0].unDt.dw64, 0xDDCCBBAAull);
    EXPECT_EQ(call.records[1].unDt.dw64, 0x04030201ull);
    EXPECT_EQ(call.records[2].unDt.dw64, 0ull);
    EXPECT_EQ(call.records[3].unDt.dw, 9u);
}

TEST_F(ReceiveTest, ShortRecordsKeepNothingOfLongerOnesBefore)
{
    deliverTo(client_, recordCallback);
    const QByteArray longName(200, 'L');
    const QByteArray longText(200, 't');
    toClient(frame(unit(3, longName, 64, longText) + unit(1, longName, 64, longText), 2));
    toClient(frame(unit(3, "R", 64, "hi") + unit(1, "U", 64, "ok"), 2));
    ASSERT_TRUE(waitForCalls(2));
    const CallbackCall& call = callbackCalls()[1];
    ASSERT_EQ(call.count, 2);
    for (const stDt& record : {call.records[0], call.records[1]}) {
        EXPECT_EQ(QByteArray(record.szNm + 1, 127), QByteArray(127, '\0'));
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(record.unDt.sz) + 2, 126), QByteArray(126, '\0'));
    }
    EXPECT_EQ(recordName(call.records[0]), "R");
    EXPECT_EQ(recordName(call.records[1]), "U");
}

TEST_F(ReceiveTest, RecordsKeepUnitOrderAndAnswerBookings)
{
    ASSERT_EQ(client_.BookDt(QStringLiteral("A"), 1000, 0, recordCallback), 0);
    ASSERT_EQ(client_.BookDt(QStringLiteral("C"), 1000, 0, recordCallback), 0);
    ASSERT_EQ(client_.BookDt(QStringLiteral("甲板"), 1000, 0, recordCallback), 0);
    const QByteArray units = unit(1, "A", 1, hex("01000000")) + unit(3, "B", 128, hex("000000000000F03F"))
        + unit(2, "X", 0, QByteArray()) + unit(1, hex("BCD7B0E5"), 64, "hi");
    toClient(frame(units, 4));
    ASSERT_TRUE(waitForCalls(1));
    const CallbackCall& call = callbackCalls()[0];
    ASSERT_EQ(call.count, 3);
    EXPECT_EQ(call.flag, 1);
    EXPECT_EQ(recordName(call.records[0]), "A");
    EXPECT_EQ(call.records[0].cStat, 0);
    EXPECT_EQ(recordName(call.records[1]), "B");
    EXPECT_EQ(call.records[1].cStat, 1);
    EXPECT_EQ(call.records[1].unDt.db, 1.0);
    EXPECT_EQ(recordName(call.records[2]), hex("BCD7B0E5"));
    EXPECT_STREQ(reinterpret_cast<const char*>(call.records[2].unDt.sz), "hi");
    EXPECT_EQ(client_.unansweredNames(), QStringList({"C"}));
    EXPECT_EQ(client_.reader().lastReadName(), QStringLiteral("B"));
}

Tavimor* reentrantClient = nullptr;
int nestedReadResult = 0;

void readingCallback(stDt* records, int count, int flag)
{
    recordCallback(records, count, flag);
    if (callbackCalls().size() == 1) {
        stDt ignored{};
        nestedReadResult = reentrantClient->ReadDt(QStringLiteral("T1"), ignored);
    }
}

TEST_F(ReceiveTest, ReadFromInsideTheCallbackSendsAndTheReplyComesThroughIt)
{
    reentrantClient = &client_;
    deliverTo(client_, readingCallback);
    toClient(hex(kUpdateT1) + intUpdate("T2", 2));
    ASSERT_TRUE(waitForCalls(2));
    EXPECT_EQ(nestedReadResult, 25);
    EXPECT_EQ(recordName(callbackCalls()[1].records[0]), "T2");
    EXPECT_EQ(fromClient(25).mid(12), hex("02 5431 00 03 00 00 00000000 EEEE"));

    toClient(frame(unit(3, "T1", 1, hex("07000000")), 1));
    ASSERT_TRUE(waitForCalls(3));
    EXPECT_EQ(callbackCalls()[2].records[0].cStat, 1);
    EXPECT_EQ(callbackCalls()[2].records[0].unDt.dw, 7u);
    reentrantClient = nullptr;
}

// Socket-free: the read sizes here must be exact.
TEST(ReceiveParser, ReadLargerThanTheBufferIsParsedInPasses)
{
    callbackCalls().clear();
    TavimorReader client;
    deliverTo(client, recordCallback);
    QByteArray traffic;
    for (quint32 i = 0; i < 400; ++i)
        traffic += intUpdate("P" + QByteArray::number(i), i);
    ASSERT_GT(traffic.size(), 8192 + 4096);

    feed(client, traffic.left(20));
    EXPECT_EQ(client.pending(), 20);
    feed(client, traffic.mid(20));
    ASSERT_EQ(callbackCalls().size(), 400u);
    for (quint32 i = 0; i < 400; ++i)
        ASSERT_EQ(callbackCalls()[i].records[0].unDt.dw, i);
    EXPECT_EQ(client.pending(), 0);
}

TEST(ReceiveParser, HeadCutByTheReadSurvivesTheGarbageBeforeIt)
{
    callbackCalls().clear();
    TavimorReader client;
    deliverTo(client, recordCallback);
    const QByteArray update = hex(kUpdateT1);
    feed(client, QByteArray(30, 'g') + update.left(3));
    EXPECT_EQ(client.pending(), 13);
    feed(client, update.mid(3));
    ASSERT_EQ(callbackCalls().size(), 1u);
    EXPECT_EQ(recordName(callbackCalls()[0].records[0]), "T1");

    // Thirteen bytes or fewer are kept whole.
    feed(client, update.left(13));
    EXPECT_EQ(client.pending(), 13);
}

TEST(ReceiveParser, IncompleteFrameWhoseFirstUnitCannotFitIsGivenUp)
{
    callbackCalls().clear();
    TavimorReader client;
    deliverTo(client, recordCallback);
    // Announces 5000 bytes, 4500 arrive, and its first unit's marker byte is 'x', not 0.
    QByteArray big = hex("FAFAFAFA 0000 02 0000 7A13 01");
    big += QByteArray(4500 - big.size(), 'x');
    feed(client, big + hex(kUpdateT1).left(10));
    EXPECT_LE(client.pending(), 4096);
    feed(client, hex(kUpdateT1).mid(10) + hex(kUpdateT1));
    ASSERT_EQ(callbackCalls().size(), 2u);
    EXPECT_EQ(recordName(callbackCalls()[0].records[0]), "T1");
}

} // namespace
