#include "incident_event.h"

#include "incident_sharing.h"

#include <array>
#include <utility>

namespace {

using Kind = IncidentEvent::Kind;

// Names as stored in the database; never renamed, only added to.
constexpr std::array<std::pair<Kind, const char*>, 12> kNames{{
    {Kind::AlarmRaised, "alarm_raised"},
    {Kind::AlarmCleared, "alarm_cleared"},
    {Kind::Acknowledged, "acknowledged"},
    {Kind::Shelved, "shelved"},
    {Kind::Unshelved, "unshelved"},
    {Kind::ManualDamage, "manual_damage"},
    {Kind::Recovery, "recovery"},
    {Kind::TeamDeployed, "team_deployed"},
    {Kind::TeamWithdrawn, "team_withdrawn"},
    {Kind::BoundarySet, "boundary_set"},
    {Kind::BoundaryLifted, "boundary_lifted"},
    {Kind::Silenced, "silenced"},
}};

} // namespace

QString IncidentEvent::kindName(Kind kind)
{
    for (const auto& entry : kNames) {
        if (entry.first == kind)
            return QString::fromLatin1(entry.second);
    }
    return QString();
}

bool IncidentEvent::kindFromName(const QString& name, Kind* kind)
{
    for (const auto& entry : kNames) {
        if (name == QLatin1String(entry.second)) {
            *kind = entry.first;
            return true;
        }
    }
    return false;
}

QString IncidentEvent::kindText(Kind kind)
{
    switch (kind) {
    case Kind::AlarmRaised:
        return tr("报警");
    case Kind::AlarmCleared:
        return tr("报警消除");
    case Kind::Acknowledged:
        return tr("确认");
    case Kind::Shelved:
        return tr("搁置");
    case Kind::Unshelved:
        return tr("取消搁置");
    case Kind::ManualDamage:
        return tr("手动报损");
    case Kind::Recovery:
        return tr("手动恢复");
    case Kind::TeamDeployed:
        return tr("部署小队");
    case Kind::TeamWithdrawn:
        return tr("撤回小队");
    case Kind::BoundarySet:
        return tr("设置边界");
    case Kind::BoundaryLifted:
        return tr("撤除边界");
    case Kind::Silenced:
        return tr("消音");
    }
    return QString();
}

QString IncidentEvent::describe() const
{
    const QString text = tr("%1: %2").arg(kindText(kind), place);
    if (!operatorName.isEmpty())
        return tr("%1 (控制台 %2, 操作员 %3)").arg(text, console, operatorName);
    return console.isEmpty() ? text : tr("%1 (控制台 %2)").arg(text, console);
}

QString IncidentEvent::shelveReason() const
{
    IncidentSharing::Value shared;
    if (kind != Kind::Shelved || !IncidentSharing::Value::parse(value, &shared))
        return QString();
    // A shelving's payload is "<until>;<reason>".
    return shared.payload.section(QLatin1Char(';'), 1);
}
