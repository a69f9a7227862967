#pragma once

// Reading and making the value records of Tavimor (stDt), beside the client's
// calls, so that no host decodes names and values by hand. The type codes are
// those of tavimorio::ValueType: the reference data server's conventions
// (docs/dataserver.md); another server may give numeric codes other meanings.

#include "CIOType.h"
#include "Tavimor.h"
#include "tavimor_export.h"

#include <QString>

namespace tavimor {

/// The record's data-point name: its GBK bytes up to the first NUL, at most 128.
TAVIMOR_EXPORT QString recordName(const stDt& record);

/// The record's value as a number, by the low byte of its type code: 0 a
/// 64-bit integer, 4 a float, 128 a double, any other numeric code a signed
/// 32-bit integer. False for text (code 64), leaving \a value unchanged.
TAVIMOR_EXPORT bool recordNumber(const stDt& record, double* value);

/// The record's text (type code 64): its GBK bytes up to the first NUL, at most
/// 128. False for a numeric record, leaving \a text unchanged.
TAVIMOR_EXPORT bool recordText(const stDt& record, QString* text);

/// A record that writes the 32-bit integer \a value (type code 1).
TAVIMOR_EXPORT stDt intRecord(qint32 value);

} // namespace tavimor
