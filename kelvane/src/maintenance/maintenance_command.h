#pragma once

#include "kelvane_export.h"
#include "maintenance/maintenance_command_state.h"

#include <QObject>

class QKeyEvent;
class QMouseEvent;

/// Turns the maintainer's clicks and keys on the deck view into maintenance
/// states and announces every state it enters. Draws nothing, knows no model.
class KELVANE_EXPORT MaintenanceCommand : public QObject
{
    Q_OBJECT

public:
    explicit MaintenanceCommand(QObject* parent = nullptr);
    ~MaintenanceCommand() override;

    MaintenanceCommandState state() const { return state_; }
    /// Stores and announces \a state, even when unchanged; CONFIRM and
    /// COMPLETE_PARTIALLY are followed by an announced IDLE.
    void setState(MaintenanceCommandState state);

signals:
    void stateChanged(MaintenanceCommandState state);

public slots:
    /// Starts placing a position.
    void onPositioning();
    /// Starts drawing an outline.
    void onPath();
    /// A left double click confirms an outline under way. Null events are ignored,
    /// here and in the two handlers below.
    void onMouseDoubleClickEvent(QMouseEvent* event);
    /// Left places or confirms, right completes or abandons.
    void onMousePressEvent(QMouseEvent* event);
    /// Shift+Escape abandons any task.
    void onKeyPressEvent(QKeyEvent* event);

private:
    MaintenanceCommandState state_ = IDLE;
};
