#pragma once

#include "incident_state.h"

#include <QObject>
#include <QPointF>

/// What the operator does about an incident by hand: marks a compartment
/// damaged or recovered, deploys or withdraws a team, sets or lifts a damage
/// boundary. Each request is decided here against the incident state, which it
/// changes, and its outcome reported by signal; the plan and the log only show
/// them, the sharing publishes them.
class IncidentCommands : public QObject
{
    Q_OBJECT

public:
    /// Why a team was not deployed.
    enum class Refusal {
        UnknownTeam, ///< the catalogue has no such team
        NoUnitFree,  ///< every unit of the team is out already, on whichever deck
    };
    Q_ENUM(Refusal)

    explicit IncidentCommands(IncidentState& state, QObject* parent = nullptr);

    /// Marks \a compartment damaged, shown as \a response (above 0); damaged().
    void damage(quint64 compartment, int response);
    /// Puts \a compartment back to normal; recovered().
    void recover(quint64 compartment);
    /// Sends a free unit of the team \a type to \a position on \a deck, in
    /// \a compartment (0 for none): teamDeployed(), or deployRefused().
    void deployTeam(int type, quint64 deck, QPointF position, quint64 compartment);
    /// Withdraws the team of \a type standing at \a position on \a deck;
    /// teamWithdrawn(), nothing when no team stands there.
    void withdrawTeam(int type, quint64 deck, QPointF position);
    /// Sets or lifts the boundary \a id of the ship file; boundaryChanged() when that changed it.
    void setBoundary(quint64 id, bool set);

signals:
    void damaged(quint64 compartment, int response);
    void recovered(quint64 compartment);
    void teamDeployed(const IncidentState::Team& team);
    void deployRefused(int type, IncidentCommands::Refusal why);
    void teamWithdrawn(const IncidentState::Team& team);
    void boundaryChanged(quint64 id, bool set);

private:
    IncidentState& state_;
};
