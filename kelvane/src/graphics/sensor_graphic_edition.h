#pragma once

class SensorGraphic;

/// Steps of the shared sensor-graphic code that only the edition with alarm
/// animations takes. Each edition's unit defines them: sensor_graphic_tags.cpp and
/// maintenance/sensor_graphic_maintenance.cpp. Internal to the library.
class SensorGraphicEdition
{
public:
    /// From setSensor(): the blink of the previous sensor's alarm stops.
    static void stopBlink(SensorGraphic& graphic);
    /// From every state change: the blink follows the sensor's state.
    static void followState(SensorGraphic& graphic);
};
