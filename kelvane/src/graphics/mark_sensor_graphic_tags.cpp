// The mark sensor graphic's part in the alarm animation (edition with tags).
#include "graphics/mark_sensor_graphic.h"

#include <QGraphicsRectItem>

// The mark carries the abnormal items' colours, so it is what blinks.
QGraphicsItem* MarkSensorGraphic::animationItem()
{
    return mark_;
}
