// The sensor layer's extent in the edition with tags.
#include "graphics/sensor_layer.h"

// The layer draws nothing and its graphics carry their own bounds.
QRectF SensorLayer::boundingRect() const
{
    return QRectF();
}
