// The maintenance edition's own signal arguments, registered beside the common
// ones of meta_types.cpp when the library loads.
#include "maintenance/maintenance_command_state.h"

namespace {

void registerMaintenanceMetaTypes()
{
    qRegisterMetaType<MaintenanceCommandState>("MaintenanceCommandState");
}

} // namespace

Q_CONSTRUCTOR_FUNCTION(registerMaintenanceMetaTypes)
