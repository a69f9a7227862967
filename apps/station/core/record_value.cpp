#include "record_value.h"

#include "Tavimor.h"

#include <QTextCodec>

#include <cstring>

namespace recordvalue {

namespace {

constexpr int kFloatCode = 4;
constexpr int kInt64Code = 0;
constexpr int kTextCode = 64;
constexpr int kDoubleCode = 128;

} // namespace

QString name(const stDt& record)
{
    const auto* end = static_cast<const char*>(std::memchr(record.szNm, '\0', sizeof record.szNm));
    const int length = end ? int(end - record.szNm) : int(sizeof record.szNm);
    static QTextCodec* const gbk = QTextCodec::codecForName("GBK");
    return gbk ? gbk->toUnicode(record.szNm, length) : QString::fromLatin1(record.szNm, length);
}

bool number(const stDt& record, double* value)
{
    switch (record.nTp & 0xFF) {
    case kTextCode:
        return false;
    case kFloatCode:
        *value = double(record.unDt.f);
        return true;
    case kInt64Code:
        *value = double(qint64(record.unDt.dw64));
        return true;
    case kDoubleCode:
        *value = record.unDt.db;
        return true;
    default:
        *value = double(qint32(record.unDt.dw));
        return true;
    }
}

stDt intRecord(qint32 value)
{
    stDt record{};
    record.nTp = kIntCode;
    record.unDt.dw = quint32(value);
    return record;
}

} // namespace recordvalue
