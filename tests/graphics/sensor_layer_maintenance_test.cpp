// Sensor layer case of the maintenance edition only: the layer covers the scene.
#include "graphics/sensor_layer.h"
#include "sensor_layer_fixture.h"

#include <gtest/gtest.h>

#include <QGraphicsScene>
#include <QRectF>

TEST_F(SensorLayerTest, CoversTheSceneWithoutRecursing)
{
    add(sensorIn("fire"))->setPos(QPointF(500, 400));
    // No fixed scene rectangle: the scene measures the layer while the layer asks the scene.
    const QRectF measured = scene_.sceneRect();
    EXPECT_EQ(layer_->boundingRect(), measured);
    scene_.setSceneRect(0, 0, 1000, 800);
    EXPECT_EQ(layer_->boundingRect(), QRectF(0, 0, 1000, 800));

    SensorLayer detached;
    EXPECT_TRUE(detached.boundingRect().isNull());
}
