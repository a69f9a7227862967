#pragma once

#include "kelvane_export.h"
#include "maintenance/maintenance_command_state.h"

#include <QObject>

class QKeyEvent;
class QMouseEvent;

/// Turns the maintainer's clicks and keys on the deck view into maintenance
/// states and announces every state it enters. Draws nothing, knows no model.
///
/// The host owns the command (through its Qt parent), connects the interactive
/// view's mousePressed, mouseDoubleClicked and keyPressed signals to the three
/// event slots and stateChanged to the view and the maintenance graphics, then
/// starts a task with onPositioning or onPath. The view emits its signals
/// before the scene sees the event, so the state has already changed when
/// scene items receive the same press. Maintenance edition only.
///
/// Transitions: a left press confirms a position (POSITIONING to CONFIRM) or
/// places a point (PATH or NEXT_POINT to NEXT_POINT); a right press completes
/// an outline with points (NEXT_POINT to COMPLETE_PARTIALLY) and otherwise
/// abandons (IDLE, announced even when already idle); a left double click
/// confirms an outline (NEXT_POINT to CONFIRM). Other input is ignored.
class KELVANE_EXPORT MaintenanceCommand : public QObject
{
    Q_OBJECT

public:
    /// Creates an idle command with Qt parent \a parent (may be null).
    explicit MaintenanceCommand(QObject* parent = nullptr);
    ~MaintenanceCommand() override;

    /// The current state; never CONFIRM or COMPLETE_PARTIALLY outside an emission of stateChanged.
    MaintenanceCommandState state() const { return state_; }
    /// Stores and announces \a state, even when unchanged; CONFIRM and
    /// COMPLETE_PARTIALLY are followed by an announced IDLE. The follow-up IDLE
    /// is skipped if a receiver deleted the command meanwhile.
    void setState(MaintenanceCommandState state);

signals:
    /// The command entered \a state. Emitted on every setState, also for an
    /// unchanged state; a transient state is followed at once by a second
    /// emission with IDLE. Receivers connected directly have all reacted
    /// before the slot that caused the change returns.
    void stateChanged(MaintenanceCommandState state);

public slots:
    /// Starts placing a position: announces POSITIONING from any state.
    void onPositioning();
    /// Starts drawing an outline: announces PATH from any state.
    void onPath();
    /// A left double click confirms an outline under way (NEXT_POINT); anything
    /// else is ignored. Null events are ignored, here and in the two handlers
    /// below. The event is only read, never accepted or ignored.
    void onMouseDoubleClickEvent(QMouseEvent* event);
    /// Left places or confirms, right completes or abandons; other buttons, and a
    /// left press while idle, change nothing.
    void onMousePressEvent(QMouseEvent* event);
    /// Shift+Escape (Shift and no other modifier) abandons any task by announcing IDLE.
    void onKeyPressEvent(QKeyEvent* event);

private:
    MaintenanceCommandState state_ = IDLE;
};
