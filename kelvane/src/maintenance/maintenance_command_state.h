#pragma once

#include <QMetaType>

/// The states a maintenance task passes through. CONFIRM and COMPLETE_PARTIALLY
/// are transient: they are announced and immediately followed by IDLE.
/// Maintenance edition only; registered as a Qt meta-type for queued signals.
enum MaintenanceCommandState {
    IDLE = 0,               ///< no task; announcing it abandons the task under way
    POSITIONING = 1,        ///< a position icon follows the pointer, waiting for a click
    CONFIRM = 2,            ///< transient: accept the icon's position or the drawn outline
    COMPLETE_PARTIALLY = 3, ///< transient: finish the outline with the points placed so far
    PATH = 4,               ///< outline drawing armed, no point placed yet
    NEXT_POINT = 5          ///< outline drawing under way, points being placed
};

Q_DECLARE_METATYPE(MaintenanceCommandState)
