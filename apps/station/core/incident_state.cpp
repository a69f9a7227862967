#include "incident_state.h"

#include <QLineF>

#include <algorithm>

#include <utility>

namespace {

// Positions shared with two decimals compare equal within this distance.
constexpr qreal kSamePlace = 0.5;

} // namespace

IncidentState::IncidentState(QVector<TeamType> teams, QSet<quint64> boundaries, QObject* parent)
    : QObject(parent)
    , types_(std::move(teams))
    , boundaries_(std::move(boundaries))
{
    qRegisterMetaType<IncidentState::Team>();
    units_.resize(types_.size());
    for (int type = 0; type < types_.size(); ++type)
        units_[type].resize(qMax(0, types_[type].units));
}

int IncidentState::teamType(const QString& name) const
{
    for (int type = 0; type < types_.size(); ++type) {
        if (types_[type].name == name)
            return type;
    }
    return -1;
}

void IncidentState::setDamage(quint64 compartment, int response)
{
    if (damageOf(compartment) == response)
        return;
    if (response > 0)
        damage_.insert(compartment, response);
    else
        damage_.remove(compartment);
    emit damageChanged(compartment, response);
}

QList<IncidentState::Team> IncidentState::teams() const
{
    QList<Team> out;
    for (const auto& units : units_) {
        for (const std::optional<Team>& team : units) {
            if (team)
                out.append(*team);
        }
    }
    return out;
}

std::optional<IncidentState::Team> IncidentState::teamAt(int type, int unit) const
{
    if (type < 0 || type >= units_.size() || unit < 0 || unit >= units_[type].size())
        return std::nullopt;
    return units_[type][unit];
}

int IncidentState::freeUnits(int type) const
{
    if (type < 0 || type >= units_.size())
        return 0;
    return int(std::count(units_[type].cbegin(), units_[type].cend(), std::nullopt));
}

std::optional<int> IncidentState::freeUnit(int type) const
{
    if (type < 0 || type >= units_.size())
        return std::nullopt;
    for (int unit = 0; unit < units_[type].size(); ++unit) {
        if (!units_[type][unit])
            return unit;
    }
    return std::nullopt;
}

std::optional<IncidentState::Team> IncidentState::teamNear(int type, quint64 deck, QPointF position) const
{
    if (type < 0 || type >= units_.size())
        return std::nullopt;
    for (const std::optional<Team>& team : units_[type]) {
        if (team && team->deck == deck && QLineF(team->position, position).length() < kSamePlace)
            return team;
    }
    return std::nullopt;
}

bool IncidentState::placeTeam(const Team& team)
{
    if (team.type < 0 || team.type >= units_.size() || team.unit < 0 || team.unit >= units_[team.type].size())
        return false;
    clearUnit(team.type, team.unit);
    units_[team.type][team.unit] = team;
    emit teamPlaced(team);
    return true;
}

void IncidentState::clearUnit(int type, int unit)
{
    const std::optional<Team> standing = teamAt(type, unit);
    if (!standing)
        return;
    units_[type][unit].reset();
    emit teamRemoved(*standing);
}

void IncidentState::setBoundary(quint64 id, bool set)
{
    if (!hasBoundary(id) || set == isBoundarySet(id))
        return;
    if (set)
        set_boundaries_.insert(id);
    else
        set_boundaries_.remove(id);
    emit boundaryChanged(id, set);
}

std::optional<IncidentState::Shelving> IncidentState::shelvingOf(const QString& tag) const
{
    const auto found = shelving_.constFind(tag);
    if (found == shelving_.cend())
        return std::nullopt;
    return *found;
}

void IncidentState::setShelving(const QString& tag, const Shelving& shelving)
{
    if (shelving.until > 0)
        shelving_.insert(tag, shelving);
    else if (shelving_.remove(tag) == 0)
        return;
    emit shelvingChanged(tag);
}
