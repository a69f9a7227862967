// The sensor layer's extent in the maintenance edition.
#include "graphics/sensor_layer.h"

// The maintainer's tools find the layer anywhere on the deck.
QRectF SensorLayer::boundingRect() const
{
    return scene_bounds_.measure(this, QRectF());
}
