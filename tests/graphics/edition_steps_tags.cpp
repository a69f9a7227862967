#include "edition_steps.h"
#include "graphics/sensor_graphic.h"
#include "view/opacity_animation.h"

#include <QString>

void giveAlarmAnimation(SensorGraphic* graphic)
{
    graphic->acceptAnimotion(new OpacityAnimation);
}

void useIconFolder(const QString&)
{
}
