#pragma once
// Steps the graphics tests take in one edition only; each edition's unit defines them
// (edition_steps_tags.cpp, edition_steps_maintenance.cpp), so shared test bodies need no fence.

class QString;
class SensorGraphic;

/// Gives \a graphic an opacity animation for its alarms; the maintenance edition has
/// no alarm animations, so there it leaves the graphic as it is.
void giveAlarmAnimation(SensorGraphic* graphic);

/// Points the sensor style at the icons in \a folder before the style is loaded. The
/// edition with tags derives the folder from the style file's location (icons/ beside
/// config/), so there this does nothing.
void useIconFolder(const QString& folder);
