#include "maintenance/maintenance_command.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

namespace {

bool isTransient(MaintenanceCommandState state)
{
    return state == CONFIRM || state == COMPLETE_PARTIALLY;
}

} // namespace

MaintenanceCommand::MaintenanceCommand(QObject* parent)
    : QObject(parent)
{
}

MaintenanceCommand::~MaintenanceCommand() = default;

void MaintenanceCommand::setState(MaintenanceCommandState state)
{
    // A receiver may delete this command's owner while the state is announced.
    const QPointer<MaintenanceCommand> alive(this);
    state_ = state;
    emit stateChanged(state);
    if (alive && isTransient(state)) {
        state_ = IDLE;
        emit stateChanged(IDLE);
    }
}

void MaintenanceCommand::onPositioning()
{
    setState(POSITIONING);
}

void MaintenanceCommand::onPath()
{
    setState(PATH);
}

void MaintenanceCommand::onMouseDoubleClickEvent(QMouseEvent* event)
{
    if (event && event->button() == Qt::LeftButton && state_ == NEXT_POINT)
        setState(CONFIRM);
}

void MaintenanceCommand::onMousePressEvent(QMouseEvent* event)
{
    if (!event)
        return;
    switch (event->button()) {
    case Qt::LeftButton:
        if (state_ == POSITIONING)
            setState(CONFIRM);
        else if (state_ == PATH || state_ == NEXT_POINT)
            setState(NEXT_POINT);
        break;
    case Qt::RightButton:
        setState(state_ == NEXT_POINT ? COMPLETE_PARTIALLY : IDLE);
        break;
    default:
        break;
    }
}

void MaintenanceCommand::onKeyPressEvent(QKeyEvent* event)
{
    if (event && event->key() == Qt::Key_Escape && event->modifiers() == Qt::ShiftModifier)
        setState(IDLE);
}
