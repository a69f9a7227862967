#include "graphics/compound_sensor_graphic.h"

CompoundSensorGraphic::CompoundSensorGraphic(QGraphicsItem* parent)
    : SensorGraphic(parent)
{
}

void CompoundSensorGraphic::doUpdateSensor()
{
}
