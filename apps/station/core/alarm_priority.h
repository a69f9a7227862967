#pragma once

#include <QColor>
#include <QString>

/// Alert priorities of the station, most urgent first. The order is the sort
/// order of the alarm list and decides which tone sounds when several are due.
enum class AlarmPriority { Emergency = 0, Alarm = 1, Warning = 2, Caution = 3 };

/// How a priority is named, written in the configuration and shown.
namespace alarmpriority {

constexpr int kCount = 4;

/// The translated name ("紧急", "报警", "警告", "提示").
QString name(AlarmPriority priority);
/// The symbol shown in front of the name in the list and beside a sensor on the
/// plan, so the priority reads without colour too.
QString symbol(AlarmPriority priority);
/// The colour of the priority's symbol; emergency and alarm in reds, warning in
/// amber, caution in yellow.
QColor colour(AlarmPriority priority);
/// The configuration's word for a priority: "emergency", "alarm", "warning" or
/// "caution" (any case). False for anything else, leaving \a priority unchanged.
bool fromKey(const QString& key, AlarmPriority* priority);

} // namespace alarmpriority
