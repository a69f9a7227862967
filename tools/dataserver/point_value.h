#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

/// Type codes of the reference data server and the value member each denotes.
namespace pointtype {
constexpr quint8 kInt = 1;      ///< 32-bit signed integer, `unDt.dw`
constexpr quint8 kFloat = 4;    ///< single precision, `unDt.f`
constexpr quint8 kText = 64;    ///< GBK text, `unDt.sz`
constexpr quint8 kInt64 = 0;    ///< 64-bit integer, `unDt.dw64`
constexpr quint8 kDouble = 128; ///< double precision, `unDt.db`
} // namespace pointtype

/// A data point's value as it travels: type code and value bytes (little-endian).
struct PointValue {
    quint8 type = pointtype::kInt;
    QByteArray bytes;

    /// Type code for a scenario type name ("int", "float", "double", "text"); false if unknown.
    static bool typeFromName(const QString& name, quint8* type);
    /// Converts a JSON scalar to a value of the given type; false if it does not fit.
    static bool fromJson(quint8 type, const QJsonValue& json, PointValue* out);
    /// Type to use for a JSON scalar when the point has no type yet.
    static quint8 typeForJson(const QJsonValue& json);
    /// True when the byte count suits the type (its width; text up to a unit's 255 bytes).
    bool wellFormed() const;

    bool operator==(const PointValue& other) const { return type == other.type && bytes == other.bytes; }
};
