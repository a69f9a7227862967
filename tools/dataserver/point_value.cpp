#include "point_value.h"

#include "CIOType.h"
#include "gbk_text.h"

#include <QtEndian>

#include <cmath>
#include <limits>

namespace {

constexpr int kMaxTextLen = 255;

template <typename T>
QByteArray littleEndianBytes(T value)
{
    QByteArray bytes(int(sizeof(T)), '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

bool PointValue::typeFromName(const QString& name, quint8* type)
{
    for (const tavimorio::ValueTypeRow& row : tavimorio::kValueTypes) {
        if (row.scenarioName && name == QLatin1String(row.scenarioName)) {
            *type = row.code;
            return true;
        }
    }
    return false;
}

quint8 PointValue::typeForJson(const QJsonValue& json)
{
    if (json.isString())
        return tavimorio::TypeText;
    const double d = json.toDouble();
    return (json.isBool() || (std::floor(d) == d && std::fabs(d) <= std::numeric_limits<qint32>::max()))
        ? tavimorio::TypeInt
        : tavimorio::TypeDouble;
}

bool PointValue::fromJson(quint8 type, const QJsonValue& json, PointValue* out)
{
    const double number = json.isBool() ? (json.toBool() ? 1.0 : 0.0) : json.toDouble();
    const bool numeric = json.isDouble() || json.isBool();
    PointValue value;
    value.type = type;
    switch (type) {
    case tavimorio::TypeText: {
        const QString text = json.isString() ? json.toString() : json.toVariant().toString();
        value.bytes = tavimorio::toGbk(text);
        if (value.bytes.size() > kMaxTextLen)
            return false;
        break;
    }
    case tavimorio::TypeInt:
        if (!numeric || std::floor(number) != number || number < std::numeric_limits<qint32>::min()
            || number > std::numeric_limits<qint32>::max())
            return false;
        value.bytes = littleEndianBytes(qint32(number));
        break;
    case tavimorio::TypeInt64:
        if (!numeric || std::floor(number) != number)
            return false;
        value.bytes = littleEndianBytes(qint64(number));
        break;
    case tavimorio::TypeFloat:
        if (!numeric)
            return false;
        value.bytes = littleEndianBytes(float(number));
        break;
    case tavimorio::TypeDouble:
        if (!numeric)
            return false;
        value.bytes = littleEndianBytes(number);
        break;
    default:
        return false;
    }
    *out = value;
    return true;
}

bool PointValue::wellFormed() const
{
    if (type == tavimorio::TypeText)
        return bytes.size() <= kMaxTextLen;
    return bytes.size() == tavimorio::numericWidth(type);
}
