#pragma once

#include "point_value.h"

#include <QByteArray>

/// Builds the one-unit frames the server sends (updates and read replies).
class FrameWriter
{
public:
    /// A frame with one unit of operation `op` carrying `value` for the GBK name `name` (at most 255 bytes).
    QByteArray frame(quint8 op, const QByteArray& name, const PointValue& value);

private:
    quint16 nextSequence_ = 0;
};
