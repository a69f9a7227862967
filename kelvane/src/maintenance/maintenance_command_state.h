#pragma once

#include <QMetaType>

/// The states a maintenance task passes through. CONFIRM and COMPLETE_PARTIALLY
/// are transient: they are announced and immediately followed by IDLE.
enum MaintenanceCommandState {
    IDLE = 0,
    POSITIONING = 1,
    CONFIRM = 2,
    COMPLETE_PARTIALLY = 3,
    PATH = 4,
    NEXT_POINT = 5
};

Q_DECLARE_METATYPE(MaintenanceCommandState)
