#include "tavimor_record.h"

#include "gbk_text.h"

using namespace tavimorio;

namespace tavimor {

QString recordName(const stDt& record)
{
    return fromGbkField(record.szNm, int(sizeof record.szNm));
}

bool recordNumber(const stDt& record, double* value)
{
    switch (kindOf(quint8(record.nTp))) {
    case ValueKind::Text:
        return false;
    case ValueKind::Float:
        *value = double(record.unDt.f);
        return true;
    case ValueKind::Int64:
        *value = double(qint64(record.unDt.dw64));
        return true;
    case ValueKind::Double:
        *value = record.unDt.db;
        return true;
    case ValueKind::Int32:
        break;
    }
    *value = double(qint32(record.unDt.dw));
    return true;
}

bool recordText(const stDt& record, QString* text)
{
    if (kindOf(quint8(record.nTp)) != ValueKind::Text)
        return false;
    *text = fromGbkField(reinterpret_cast<const char*>(record.unDt.sz), int(sizeof record.unDt.sz));
    return true;
}

stDt intRecord(qint32 value)
{
    stDt record{};
    record.nTp = TypeInt;
    record.unDt.dw = quint32(value);
    return record;
}

} // namespace tavimor
