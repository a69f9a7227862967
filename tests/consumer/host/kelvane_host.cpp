// Host of the maintenance edition: uses what only that edition declares.
#include "host_check.h"

#include "maintenance/maintenance_command.h"

#include <QCoreApplication>

#ifndef KELVANE_MAINTENANCE
#error "the maintenance edition's definition did not reach the host"
#endif

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);

    // A connection by member-function pointer needs the library's exported meta-object.
    MaintenanceCommand command;
    MaintenanceCommandState announced = IDLE;
    QObject::connect(&command, &MaintenanceCommand::stateChanged,
                     [&announced](MaintenanceCommandState state) { announced = state; });
    command.onPath();
    check(command.state() == PATH && announced == PATH, "MaintenanceCommand announces the outline task");

    checkTavimor();
    checkEnglishTranslation();
    return failures();
}
