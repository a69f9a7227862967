#pragma once

#include "value_types.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>

/// A data point's value as it travels: type code and value bytes (little-endian).
struct PointValue {
    quint8 type = tavimorio::TypeInt;
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
