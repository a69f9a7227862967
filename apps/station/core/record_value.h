#pragma once

#include <QString>

struct stDt;

/// Decoding of the client library's value records for the station.
///
/// The type codes follow the reference data server's conventions (docs/dataserver.md):
/// 1 and every other 4-byte code a signed 32-bit integer, 4 a float, 0 a signed 64-bit
/// integer, 128 a double and 64 text.
namespace recordvalue {

/// Type code the station writes acknowledgement flags with (a 32-bit integer).
constexpr int kIntCode = 1;

/// The record's data-point name: its GBK bytes up to the first NUL, at most 128.
QString name(const stDt& record);

/// The record's value as a number; false for text, which no sensor item can follow.
bool number(const stDt& record, double* value);

/// A record that writes the 32-bit integer \a value.
stDt intRecord(qint32 value);

} // namespace recordvalue
