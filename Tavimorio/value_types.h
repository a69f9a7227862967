#pragma once

// The value types of the data-point protocol: one table for the client library,
// the data server and the applications.

#include <QtGlobal>

namespace tavimorio {

/// Value type codes (`stIoUt::cTp`, the low byte of `stDt::nTp`).
///
/// The protocol fixes only widths: text is 64, codes 0 and 128 are 8 bytes
/// wide, every other code 4 bytes. Which number a numeric code carries is the
/// data server's convention; these names are the reference data server's
/// (docs/dataserver.md), which the client's record helpers follow.
enum ValueType : quint8 {
    TypeInt64 = 0,    ///< 64-bit signed integer, `stDt::unDt.dw64`
    TypeInt = 1,      ///< 32-bit signed integer, `stDt::unDt.dw` read as qint32
    TypeFloat = 4,    ///< single precision, `stDt::unDt.f`
    TypePeriod = 8,   ///< book units: the refresh period, 4 bytes
    TypeText = 64,    ///< GBK text, `stDt::unDt.sz`
    TypeDouble = 128, ///< double precision, `stDt::unDt.db`
};

/// How a value of a type code is read.
enum class ValueKind { Int32, Int64, Float, Double, Text };

/// One row of the value type table.
struct ValueTypeRow {
    quint8 code;
    ValueKind kind;
    const char* scenarioName; ///< name in the data server's scenario files; null when only written by clients
};

/// Every type code with a meaning of its own; any other code is a 32-bit integer.
constexpr ValueTypeRow kValueTypes[] = {
    {TypeInt, ValueKind::Int32, "int"},
    {TypeFloat, ValueKind::Float, "float"},
    {TypeDouble, ValueKind::Double, "double"},
    {TypeText, ValueKind::Text, "text"},
    {TypeInt64, ValueKind::Int64, nullptr},
};

/// How a value of type \a code is read (Int32 for codes the table does not list).
constexpr ValueKind kindOf(quint8 code)
{
    for (const ValueTypeRow& row : kValueTypes) {
        if (row.code == code)
            return row.kind;
    }
    return ValueKind::Int32;
}

constexpr int kWideWidth = 8;   ///< width of 8-byte values
constexpr int kNarrowWidth = 4; ///< width of every other numeric value

/// Width in bytes of a numeric value of type code \a code: 8 for TypeInt64 and
/// TypeDouble, 4 for every other code. Text has no fixed width, so the result
/// for TypeText is meaningless.
constexpr int numericWidth(quint8 code)
{
    return (kindOf(code) == ValueKind::Int64 || kindOf(code) == ValueKind::Double) ? kWideWidth : kNarrowWidth;
}

static_assert(numericWidth(0) == 8 && numericWidth(128) == 8 && numericWidth(1) == 4 && numericWidth(77) == 4,
              "the protocol fixes codes 0 and 128 at 8 bytes and every other numeric code at 4");

} // namespace tavimorio
