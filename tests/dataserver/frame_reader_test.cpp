// The server's frame reader on hand-written byte rows.

#include "frame_reader.h"

#include <gtest/gtest.h>

namespace {

const char* const kReadT1 = "FAFAFAFA 0000 00 0000 0B00 01 02 5431 00 03 00 00 00000000 EEEE";

TEST(FrameReader, CutsJoinedAndSplitFrames)
{
    FrameReader reader;
    QStringList errors;
    const QByteArray read = QByteArray::fromHex(kReadT1);
    const QByteArray book = QByteArray::fromHex("FAFAFAFA 0100 02 0000 0F00 01 02 5432 00 01 04 08 00000000 E8030000 EEEE");

    QVector<ReceivedUnit> units = reader.feed(read + book.left(7), &errors);
    ASSERT_EQ(units.size(), 1);
    EXPECT_EQ(units[0].op, 3);
    EXPECT_EQ(units[0].name, "T1");
    EXPECT_EQ(reader.pending(), 7);

    units = reader.feed(book.mid(7), &errors);
    ASSERT_EQ(units.size(), 1);
    EXPECT_EQ(units[0].op, 1);
    EXPECT_EQ(units[0].name, "T2");
    EXPECT_EQ(units[0].type, 8);
    EXPECT_EQ(units[0].value, QByteArray::fromHex("E8030000"));
    EXPECT_EQ(reader.pending(), 0);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST(FrameReader, ReportsAndSkipsWhatIsNotAFrame)
{
    FrameReader reader;
    QStringList errors;
    const QByteArray hostile = QByteArray::fromHex("0102 FAFAFAFA 0000 00 0000 FFFF 01 00 FAFAFAFA 0000 00 0000 0000 01 0000");
    const QVector<ReceivedUnit> units = reader.feed(hostile + QByteArray::fromHex(kReadT1), &errors);
    ASSERT_EQ(units.size(), 1);
    EXPECT_EQ(units[0].name, "T1");
    EXPECT_EQ(errors.size(), 2) << errors.join('\n').toStdString();
}

TEST(FrameReader, WholeFrameBehindAnUnfinishedHeadProvesItFalse)
{
    FrameReader reader;
    QStringList errors;
    // Announces 250 data bytes that never come; the read behind it is complete.
    const QByteArray stalled = QByteArray::fromHex("FAFAFAFA 0000 00 0000 FA00 01 00");
    const QVector<ReceivedUnit> units = reader.feed(stalled + QByteArray::fromHex(kReadT1), &errors);
    ASSERT_EQ(units.size(), 1);
    EXPECT_EQ(units[0].name, "T1");
    EXPECT_EQ(reader.pending(), 0);
}

TEST(FrameReader, MalformedUnitsEndTheirFrame)
{
    FrameReader reader;
    QStringList errors;
    // Unit two has a non-zero marker; unit one still counts.
    const QByteArray marked = QByteArray::fromHex("FAFAFAFA 0000 00 0000 1600 02"
                                                  "02 5431 00 03 00 00 00000000"
                                                  "02 5432 01 03 00 00 00000000"
                                                  "EEEE");
    // The value overruns the frame.
    const QByteArray overrun = QByteArray::fromHex("FAFAFAFA 0000 02 0000 0B00 01 02 5431 00 04 10 01 00000000 EEEE");
    const QVector<ReceivedUnit> units = reader.feed(marked + overrun, &errors);
    ASSERT_EQ(units.size(), 1);
    EXPECT_EQ(units[0].name, "T1");
    EXPECT_EQ(errors.size(), 2) << errors.join('\n').toStdString();
}

TEST(FrameReader, GarbageWithoutHeadsKeepsOnlyAPossibleHeadStart)
{
    FrameReader reader;
    QStringList errors;
    EXPECT_TRUE(reader.feed(QByteArray(5000, 'g') + QByteArray::fromHex("FAFA"), &errors).isEmpty());
    EXPECT_EQ(reader.pending(), 13);
    const QVector<ReceivedUnit> units = reader.feed(QByteArray::fromHex(kReadT1).mid(2), &errors);
    ASSERT_EQ(units.size(), 1);
    EXPECT_EQ(units[0].name, "T1");
}

} // namespace
