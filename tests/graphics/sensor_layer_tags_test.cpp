// Sensor layer case of the edition with tags only: the layer itself draws nothing.
#include "graphics/sensor_layer.h"
#include "sensor_layer_fixture.h"

#include <gtest/gtest.h>

TEST_F(SensorLayerTest, DrawsNothing)
{
    add(sensorIn("fire"));
    EXPECT_TRUE(layer_->boundingRect().isNull());
}
