#pragma once

// Frames as the data server sends them, built byte by byte for the benchmarks.

#include <QByteArray>

namespace benchwire {

/// The name of the i-th data point, in the sample ship's style (D3-TMP-042).
QByteArray pointName(long i);

/// A unit of operation `op` for `name` with a value of `type` and its bytes.
QByteArray unit(quint8 op, const QByteArray& name, quint8 type, const QByteArray& value);
/// A frame around the given units.
QByteArray frame(const QByteArray& units, int unitCount, quint16 sequence);
/// A stream of at least `bytes` bytes of update frames with `unitsPerFrame`
/// units each, names and values like a ship's (int, float, double and text
/// points); `units` receives the number of units in it.
QByteArray realisticStream(int bytes, int unitsPerFrame, long* units);

} // namespace benchwire
