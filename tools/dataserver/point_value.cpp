#include "point_value.h"

#include "CIOType.h"

#include <QTextCodec>
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
    if (name == QLatin1String("int"))
        *type = pointtype::kInt;
    else if (name == QLatin1String("float"))
        *type = pointtype::kFloat;
    else if (name == QLatin1String("double"))
        *type = pointtype::kDouble;
    else if (name == QLatin1String("text"))
        *type = pointtype::kText;
    else
        return false;
    return true;
}

quint8 PointValue::typeForJson(const QJsonValue& json)
{
    if (json.isString())
        return pointtype::kText;
    const double d = json.toDouble();
    return (json.isBool() || (std::floor(d) == d && std::fabs(d) <= std::numeric_limits<qint32>::max()))
        ? pointtype::kInt
        : pointtype::kDouble;
}

bool PointValue::fromJson(quint8 type, const QJsonValue& json, PointValue* out)
{
    const double number = json.isBool() ? (json.toBool() ? 1.0 : 0.0) : json.toDouble();
    const bool numeric = json.isDouble() || json.isBool();
    PointValue value;
    value.type = type;
    switch (type) {
    case pointtype::kText: {
        const QString text = json.isString() ? json.toString() : json.toVariant().toString();
        value.bytes = QTextCodec::codecForName("GBK")->fromUnicode(text);
        if (value.bytes.size() > kMaxTextLen)
            return false;
        break;
    }
    case pointtype::kInt:
        if (!numeric || std::floor(number) != number || number < std::numeric_limits<qint32>::min()
            || number > std::numeric_limits<qint32>::max())
            return false;
        value.bytes = littleEndianBytes(qint32(number));
        break;
    case pointtype::kInt64:
        if (!numeric || std::floor(number) != number)
            return false;
        value.bytes = littleEndianBytes(qint64(number));
        break;
    case pointtype::kFloat:
        if (!numeric)
            return false;
        value.bytes = littleEndianBytes(float(number));
        break;
    case pointtype::kDouble:
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
    if (type == pointtype::kText)
        return bytes.size() <= kMaxTextLen;
    return bytes.size() == tavimorio::numericWidth(type);
}
