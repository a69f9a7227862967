// What the client puts on the wire: exact frames, batching of book requests,
// re-booking, cancel, write, read, and the connection results.

#include "frame_encoder.h"
#include "tavimor_fixture.h"

#include <QDateTime>
#include <QtEndian>

namespace {

using SendTest = PeerFixture;

constexpr int kCancelT1Len = 25;

QStringList g_debugLines;

void keepDebugLine(QtMsgType type, const QMessageLogContext&, const QString& line)
{
    if (type == QtDebugMsg)
        g_debugLines.append(line);
}

stDt textRecord(const QByteArray& text)
{
    stDt record{};
    record.nTp = 64;
    std::memcpy(record.unDt.sz, text.constData(), size_t(qMin(int(text.size()), int(sizeof(record.unDt.sz)))));
    return record;
}

TEST_F(SendTest, ReadFrameIsByteExactAndSilenceLeavesTheRecord)
{
    stDt record{};
    record.nTp = 77;
    EXPECT_EQ(client_.ReadDt(QStringLiteral("T1"), record), 25);
    EXPECT_EQ(fromClient(25), hex("FAFAFAFA 0000 00 0000 0B00 01"
                                  "02 5431"
                                  "00 03 00 00 00000000"
                                  "EEEE"));
    EXPECT_EQ(record.nTp, 77);
}

TEST_F(SendTest, BookFrameIsByteExact)
{
    EXPECT_EQ(client_.BookDt(QStringLiteral("T1"), 1000, 1, recordCallback), 0);
    EXPECT_EQ(fromClient(29), hex("FAFAFAFA 0000 02 0000 0F00 01"
                                  "02 5431"
                                  "00 01 04 08 00000000"
                                  "E8030000"
                                  "EEEE"));
}

TEST_F(SendTest, BookChecksNamePeriodAndCallback)
{
    EXPECT_EQ(client_.BookDt(QString(), 1000, 1, recordCallback), -1);
    EXPECT_EQ(client_.BookDt(QString(QChar(0)) + "X", 1000, 1, recordCallback), -1);

    // Refused periods still count; accepted ones queue.
    EXPECT_EQ(client_.BookDt(QStringLiteral("A"), 50, 0, recordCallback), -1);
    EXPECT_EQ(client_.BookDt(QStringLiteral("A"), -1000, 0, recordCallback), -1);
    EXPECT_EQ(client_.BookDt(QStringLiteral("A"), 0, 0, recordCallback), 0);
    EXPECT_EQ(client_.BookDt(QStringLiteral("B"), 100, 0, recordCallback), 0);

    // Without a callback the frame is built (sequence 2 is used) but not queued.
    EXPECT_EQ(client_.BookDt(QStringLiteral("C"), 100, 0, nullptr), -1);
    EXPECT_EQ(client_.unansweredNames(), QStringList({"A", "B"}));

    // TryDt queues without recording the name; committing, it logs the count
    // of BookDt calls past the name checks (the two empty names do not count).
    EXPECT_EQ(client_.TryDt(QStringLiteral("D"), 1, 0), -1);
    g_debugLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepDebugLine);
    EXPECT_EQ(client_.TryDt(QStringLiteral("D"), 200, 1), 0);
    qInstallMessageHandler(previous);
    EXPECT_EQ(g_debugLines, QStringList({"5"}));
    EXPECT_EQ(client_.unansweredNames(), QStringList({"A", "B"}));
    // Exactly A and B were queued, then D (sequence 3: C used 2).
    const QByteArray sent = fromClient(3 * 28);
    EXPECT_EQ(sent.at(13), 'A');
    EXPECT_EQ(sent.at(28 + 13), 'B');
    EXPECT_EQ(sent.mid(2 * 28), hex("FAFAFAFA 0300 02 0000 0E00 01"
                                    "01 44"
                                    "00 01 04 08 00000000"
                                    "C8000000"
                                    "EEEE"));
}

TEST_F(SendTest, BookingManyNamesFlushesBeforeTheBufferWouldOverflow)
{
    // "D1-SMK-000" .. "D1-SMK-199": 10-byte names, 37-byte frames, 110 fit in 4095 bytes.
    constexpr int kFrameLen = 37;
    constexpr int kPerBatch = 4095 / kFrameLen;
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(client_.BookDt(QStringLiteral("D1-SMK-%1").arg(i, 3, 10, QChar('0')), 1000, 0, recordCallback), 0);

    const QByteArray firstBatch = fromClient(kPerBatch * kFrameLen);
    ASSERT_EQ(firstBatch.size(), kPerBatch * kFrameLen);
    EXPECT_EQ(client_.BookDt(QStringLiteral("D1-SMK-200"), 1000, 1, recordCallback), 0);

    const QByteArray all = firstBatch + fromClient((201 - kPerBatch) * kFrameLen);
    ASSERT_EQ(all.size(), 201 * kFrameLen);
    for (int i = 0; i < 201; ++i) {
        const QByteArray frame = all.mid(i * kFrameLen, kFrameLen);
        EXPECT_EQ(quint8(frame[4]) | quint8(frame[5]) << 8, i) << "frame " << i;
        EXPECT_EQ(frame.mid(13, 10), QStringLiteral("D1-SMK-%1").arg(i, 3, 10, QChar('0')).toLatin1());
        EXPECT_TRUE(frame.endsWith(hex("EEEE")));
    }
    EXPECT_EQ(client_.unansweredNames().size(), 201);
}

TEST_F(SendTest, RebookSendsPeriodZeroForNamesStillUnanswered)
{
    for (const char* name : {"A", "B", "C"})
        ASSERT_EQ(client_.BookDt(QString::fromLatin1(name), 1000, 0, recordCallback), 0);
    ASSERT_EQ(client_.BookDt(QStringLiteral("D"), 1000, 1, recordCallback), 0);
    fromClient(4 * 28);

    // B gets its first update.
    toClient(hex("FAFAFAFA 0000 02 0000 0E00 01"
                 "01 42"
                 "00 01 04 01 00000000"
                 "05000000"
                 "EEEE"));
    ASSERT_TRUE(waitForCalls(1));
    EXPECT_EQ(client_.unansweredNames(), QStringList({"A", "C", "D"}));

    EXPECT_EQ(client_.BookDt(QStringLiteral("ignored"), 5, -1, nullptr), 0);
    EXPECT_TRUE(client_.unansweredNames().isEmpty());
    const QByteArray rebook = fromClient(3 * 28);
    for (int i = 0; i < 3; ++i) {
        const QByteArray frame = rebook.mid(i * 28, 28);
        EXPECT_EQ(frame.at(13), "ACD"[i]);
        EXPECT_EQ(frame.mid(22, 4), hex("00000000")) << "period of frame " << i;
    }

    // A second re-book has nothing left to send: the next bytes are the cancel below.
    EXPECT_EQ(client_.BookDt(QStringLiteral("x"), 0, -1, nullptr), 0);
    EXPECT_EQ(client_.CancelDt(QStringLiteral("T1")), kCancelT1Len);
    EXPECT_EQ(fromClient(kCancelT1Len).mid(12), hex("02 5431 00 02 00 00 00000000 EEEE"));
}

TEST_F(SendTest, CancelSendsAFrameOrForgetsUnansweredNames)
{
    ASSERT_EQ(client_.BookDt(QStringLiteral("A"), 1000, 0, recordCallback), 0);
    EXPECT_EQ(client_.CancelDt(QString()), -1);
    EXPECT_TRUE(client_.unansweredNames().isEmpty());

    ASSERT_EQ(client_.BookDt(QStringLiteral("T1"), 1000, 1, recordCallback), 0);
    fromClient(28 + 29);
    EXPECT_EQ(client_.CancelDt(QStringLiteral("T1")), kCancelT1Len);
    EXPECT_EQ(fromClient(kCancelT1Len), hex("FAFAFAFA 0200 00 0000 0B00 01"
                                            "02 5431"
                                            "00 02 00 00 00000000"
                                            "EEEE"));
    EXPECT_EQ(client_.unansweredNames(), QStringList({"T1"}));
}

TEST_F(SendTest, WriteCarriesTextAndNumbersWithTheirWidths)
{
    const quint32 before = quint32(QDateTime::currentSecsSinceEpoch());
    EXPECT_EQ(client_.WriteDt(QStringLiteral("T1"), textRecord("abc")), 12 + 3 + 8 + 3 + 2);
    const QByteArray text = fromClient(28);
    EXPECT_EQ(text.left(12), hex("FAFAFAFA 0000 02 0000 0E00 01"));
    EXPECT_EQ(text.mid(12, 7), hex("02 5431 00 04 03 40"));
    const quint32 stamp = qFromLittleEndian<quint32>(text.constData() + 19);
    EXPECT_GE(stamp, before);
    EXPECT_LE(stamp, before + 5);
    EXPECT_EQ(text.mid(23), hex("616263 EEEE"));

    stDt number{};
    number.nTp = 128;
    number.unDt.db = 2.5;
    EXPECT_EQ(client_.WriteDt(QStringLiteral("T1"), number), 33);
    const QByteArray wide = fromClient(33);
    EXPECT_EQ(wide.mid(12, 7), hex("02 5431 00 04 08 80"));
    EXPECT_EQ(wide.mid(23, 8), hex("0000000000000440"));

    number = stDt{};
    number.nTp = 1;
    number.unDt.dw = 0x01020304;
    EXPECT_EQ(client_.WriteDt(QStringLiteral("T1"), number), 29);
    const QByteArray narrow = fromClient(29);
    EXPECT_EQ(narrow.mid(12, 7), hex("02 5431 00 04 04 01"));
    EXPECT_EQ(narrow.mid(23), hex("04030201 EEEE"));
}

TEST_F(SendTest, TextWithoutTerminatorIsSentAsItsFullCapacity)
{
    const stDt record = textRecord(QByteArray(200, 'x'));
    EXPECT_EQ(client_.WriteDt(QStringLiteral("T1"), record), 23 + 2 + 128);
    const QByteArray frame = fromClient(23 + 2 + 128);
    EXPECT_EQ(frame.mid(9, 2), hex("8B00"));
    EXPECT_EQ(quint8(frame.at(17)), 128);
    EXPECT_EQ(frame.mid(23, 128), QByteArray(128, 'x'));
    EXPECT_TRUE(frame.endsWith(hex("EEEE")));
}

TEST_F(SendTest, NamesAreGbkAndOverlongNamesAreRefused)
{
    EXPECT_EQ(client_.CancelDt(QStringLiteral("甲板")), 27);
    EXPECT_EQ(fromClient(27).mid(12, 5), hex("04 BCD7 B0E5"));

    // 128 two-byte characters are 256 GBK bytes, one more than a unit can name;
    // Arabic letters and emoji have no GBK code and would become '?', another point.
    stDt record{};
    record.nTp = 1;
    for (const QString& refused : {QString(128, QChar(0x7532)), QStringLiteral("Tش"), QStringLiteral("T😀")}) {
        EXPECT_EQ(client_.CancelDt(refused), -1);
        EXPECT_EQ(client_.ReadDt(refused, record), -1);
        EXPECT_EQ(client_.WriteDt(refused, record), -1);
        EXPECT_EQ(client_.TryDt(refused, 0, 1), -1);
        EXPECT_EQ(client_.BookDt(refused, 0, 1, recordCallback), -1);
    }
    EXPECT_TRUE(client_.unansweredNames().isEmpty());

    // 255 bytes is still a name; the refused names used no sequence number.
    EXPECT_EQ(client_.CancelDt(QString(255, 'n')), 23 + 255);
    const QByteArray longest = fromClient(23 + 255);
    EXPECT_EQ(longest.mid(4, 2), hex("0100"));
    EXPECT_EQ(quint8(longest.at(12)), 255);
    // Nothing refused was queued: a commit sends only the new booking.
    EXPECT_EQ(client_.BookDt(QStringLiteral("Q"), 0, 1, recordCallback), 0);
    EXPECT_EQ(fromClient(28).at(13), 'Q');
}

TEST_F(SendTest, SequenceNumberWrapsAfter65536Frames)
{
    for (int i = 0; i < 65536; ++i)
        ASSERT_EQ(client_.CancelDt(QStringLiteral("T1")), kCancelT1Len);
    const QByteArray all = fromClient(65536 * kCancelT1Len);
    ASSERT_EQ(all.size(), 65536 * kCancelT1Len);
    EXPECT_EQ(all.mid(65535 * kCancelT1Len + 4, 2), hex("FFFF"));
    EXPECT_EQ(client_.CancelDt(QStringLiteral("T1")), kCancelT1Len);
    EXPECT_EQ(fromClient(kCancelT1Len).mid(4, 2), hex("0000"));
}

TEST(FrameEncoder, BookUnitWithoutAValueAndTheFrameLengths)
{
    const tavimorio::UnitFrame book{0, tavimorio::kCmdData, tavimorio::OpBook, "T1", 2};
    QByteArray out(tavimorio::frameLength(2, 0), '\0');
    EXPECT_EQ(tavimorio::encodeFrame(book, out.data()), 25);
    EXPECT_EQ(out, hex("FAFAFAFA 0000 02 0000 0B00 01 02 5431 00 01 00 00 00000000 EEEE"));
    EXPECT_EQ(tavimorio::frameLength(0, 0) - tavimorio::kUnitOverhead, 14);
    EXPECT_EQ(tavimorio::frameLength(255, 255), 255 + 255 + 23);
}

TEST_F(SendTest, InitSvrRefusesHostNamesAndKeepsTheConnection)
{
    EXPECT_EQ(client_.InitSvr(QStringLiteral("localhost"), server_.serverPort()), -1);
    EXPECT_EQ(client_.CancelDt(QStringLiteral("T1")), kCancelT1Len);
    EXPECT_EQ(fromClient(kCancelT1Len).size(), kCancelT1Len);
}

TEST_F(SendTest, SocketErrorIsRecordedAndClearedByReconnecting)
{
    EXPECT_EQ(client_.lastSocketError(), -1);
    peer_->close();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return client_.lastSocketError() == QAbstractSocket::RemoteHostClosedError; }, kWaitMs));

    EXPECT_EQ(client_.InitSvr(QStringLiteral("127.0.0.1"), server_.serverPort()), 1);
    EXPECT_EQ(client_.lastSocketError(), -1);
}

TEST(InitSvr, ReportsZeroWhenNothingListens)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();

    Tavimor client;
    EXPECT_EQ(client.InitSvr(QStringLiteral("127.0.0.1"), port), 0);
    // Nothing to write to: requests fail instead of pretending to be sent.
    EXPECT_EQ(client.CancelDt(QStringLiteral("T1")), -1);
}

} // namespace
