#pragma once

#include "point_value.h"

#include <QByteArray>

/// Builds the one-unit frames the server sends (updates and read replies).
class FrameWriter
{
public:
    /// Appends to `out` a frame with one unit of operation `op` carrying `value`
    /// for the GBK name `name` (at most 255 bytes).
    void append(QByteArray* out, quint8 op, const QByteArray& name, const PointValue& value);

private:
    quint16 nextSequence_ = 0;
};
