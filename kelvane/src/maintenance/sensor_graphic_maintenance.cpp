// The maintenance edition has no alarm animation: its sensor graphics show their
// state in the tool tip only.
#include "graphics/sensor_graphic_edition.h"

void SensorGraphicEdition::stopBlink(SensorGraphic&) {}

void SensorGraphicEdition::followState(SensorGraphic&) {}
