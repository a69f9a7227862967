#include "incident_commands.h"

IncidentCommands::IncidentCommands(IncidentState& state, QObject* parent)
    : QObject(parent)
    , state_(state)
{
    qRegisterMetaType<IncidentCommands::Refusal>();
}

void IncidentCommands::damage(quint64 compartment, int response)
{
    if (response <= 0)
        return;
    state_.setDamage(compartment, response);
    emit damaged(compartment, response);
}

void IncidentCommands::recover(quint64 compartment)
{
    state_.setDamage(compartment, 0);
    emit recovered(compartment);
}

void IncidentCommands::deployTeam(int type, quint64 deck, QPointF position, quint64 compartment)
{
    if (type < 0 || type >= state_.teamTypes().size()) {
        emit deployRefused(type, Refusal::UnknownTeam);
        return;
    }
    const std::optional<int> unit = state_.freeUnit(type);
    if (!unit) {
        emit deployRefused(type, Refusal::NoUnitFree);
        return;
    }
    const IncidentState::Team team{type, *unit, deck, position, compartment};
    state_.placeTeam(team);
    emit teamDeployed(team);
}

void IncidentCommands::withdrawTeam(int type, quint64 deck, QPointF position)
{
    const std::optional<IncidentState::Team> standing = state_.teamNear(type, deck, position);
    if (!standing)
        return;
    state_.clearUnit(standing->type, standing->unit);
    emit teamWithdrawn(*standing);
}

void IncidentCommands::setBoundary(quint64 id, bool set)
{
    if (!state_.hasBoundary(id) || state_.isBoundarySet(id) == set)
        return;
    state_.setBoundary(id, set);
    emit boundaryChanged(id, set);
}
