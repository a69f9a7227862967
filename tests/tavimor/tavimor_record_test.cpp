#include "tavimor_record.h"

#include <gtest/gtest.h>

#include <QTextCodec>

#include <cstring>

namespace {

stDt recordNamed(const QByteArray& name)
{
    stDt record{};
    std::memcpy(record.szNm, name.constData(), std::min<size_t>(name.size(), sizeof record.szNm));
    return record;
}

} // namespace

TEST(RecordValue, NameStopsAtTheFirstNulAndDecodesGbk)
{
    const QString chinese = QStringLiteral("厨房温度");
    stDt record = recordNamed(QTextCodec::codecForName("GBK")->fromUnicode(chinese));
    EXPECT_EQ(tavimor::recordName(record), chinese);

    record = recordNamed(QByteArray("D2-SMK-026\0garbage", 18));
    EXPECT_EQ(tavimor::recordName(record), QStringLiteral("D2-SMK-026"));
}

TEST(RecordValue, NameFillingAllBytesIsReadWithoutRunningPastThem)
{
    stDt record{};
    std::memset(record.szNm, 'A', sizeof record.szNm);
    record.cStat = 0x42; // the byte after the name must not become part of it
    EXPECT_EQ(tavimor::recordName(record), QString(int(sizeof record.szNm), QLatin1Char('A')));
}

TEST(RecordValue, NumbersFollowTheServerTypeCodes)
{
    double value = 0.0;
    stDt record{};

    record.nTp = 1;
    record.unDt.dw = quint32(-25);
    ASSERT_TRUE(tavimor::recordNumber(record, &value));
    EXPECT_EQ(value, -25.0);

    record = stDt{};
    record.nTp = 4;
    record.unDt.f = 66.5f;
    ASSERT_TRUE(tavimor::recordNumber(record, &value));
    EXPECT_EQ(value, 66.5);

    record = stDt{};
    record.nTp = 128;
    record.unDt.db = 9.6;
    ASSERT_TRUE(tavimor::recordNumber(record, &value));
    EXPECT_EQ(value, 9.6);

    record = stDt{};
    record.nTp = 0;
    record.unDt.dw64 = quint64(-5000000000LL);
    ASSERT_TRUE(tavimor::recordNumber(record, &value));
    EXPECT_EQ(value, -5000000000.0);
}

TEST(RecordValue, TextIsNotANumberAndNumbersAreNoText)
{
    stDt record{};
    record.nTp = 64;
    std::strcpy(reinterpret_cast<char*>(record.unDt.sz), "12");
    double value = 7.0;
    EXPECT_FALSE(tavimor::recordNumber(record, &value));
    EXPECT_EQ(value, 7.0);
    QString text;
    ASSERT_TRUE(tavimor::recordText(record, &text));
    EXPECT_EQ(text, QStringLiteral("12"));
    EXPECT_FALSE(tavimor::recordText(tavimor::intRecord(12), &text));
}

TEST(RecordValue, IntRecordReadsBackAsTheSameNumber)
{
    const stDt record = tavimor::intRecord(1);
    double value = 0.0;
    ASSERT_TRUE(tavimor::recordNumber(record, &value));
    EXPECT_EQ(value, 1.0);
    EXPECT_EQ(record.nTp, tavimorio::TypeInt);
}
