#include "incident_catalogue.h"

#include "alarm_feed.h"
#include "ship.h"

#include "config/damage_config.h"
#include "config/team_config.h"
#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"

namespace {

// The name of the damage responses \a responses (bits) as configured ("火灾+进水" for two).
QString damageText(int responses)
{
    const std::optional<harq::DamageResponse> response = DamageConfig::instance().response(responses);
    return response ? response->name() : QString();
}

} // namespace

IncidentTracker::Catalogue IncidentCatalogue::of(const Ship& ship)
{
    IncidentTracker::Catalogue catalogue;
    for (harq::Deck* deck : ship.decks()) {
        catalogue.decks.insert(deck->id());
        for (harq::Region* region : deck->regions())
            catalogue.compartments.insert(
                region->id(), QStringLiteral("%1 %2").arg(deck->name(), region->nameAndCode()).simplified());
        for (harq::Sensor* sensor : deck->sensors()) {
            if (!sensor->viewGroup())
                continue;
            const QString damage = damageText(sensor->viewGroup()->responseType());
            for (int i = 0; i < sensor->itemCount(); ++i)
                catalogue.itemDamage.insert(sensor->itemAt(i)->tag(), damage);
        }
    }
    for (const Ship::Boundary& boundary : ship.boundaries()) {
        const harq::Deck* deck = ship.deckById(boundary.deck);
        catalogue.boundaries.insert(boundary.id,
                                    tr("%1 %2 (%3)")
                                        .arg(deck ? deck->name() : QString(),
                                             boundary.smoke ? tr("防烟边界") : tr("防火边界"))
                                        .arg(boundary.id)
                                        .simplified());
    }
    catalogue.damageName = damageText;
    return catalogue;
}

QVector<IncidentState::TeamType> IncidentCatalogue::teamTypes()
{
    const TeamConfig& teams = TeamConfig::instance();
    QVector<IncidentState::TeamType> types;
    for (std::size_t type = 0; type < teams.teamTypes(); ++type)
        types.append({teams.nameAt(type), teams.countAt(type)});
    return types;
}

QSet<quint64> IncidentCatalogue::boundaryIds(const Ship& ship)
{
    QSet<quint64> ids;
    for (const Ship::Boundary& boundary : ship.boundaries())
        ids.insert(boundary.id);
    return ids;
}

void IncidentCatalogue::placeStations(const Ship& ship, IncidentState& state)
{
    for (harq::Deck* deck : ship.decks()) {
        for (const Ship::Team& station : ship.teamsOn(deck->id())) {
            const int type = state.teamType(station.name);
            const std::optional<int> unit = state.freeUnit(type);
            if (unit)
                state.placeTeam({type, *unit, station.deck, station.position,
                                 station.compartment ? station.compartment->id() : 0});
        }
    }
}

IncidentTracker::Reading IncidentCatalogue::read(const AlarmFeed& feed, int id)
{
    const harq::SensorItem* item = feed.itemOf(id);
    if (!item)
        return {};
    return {item->valuePrimary(), item->value(), item->isAbnormal(), item->needConfirm(), item->isValueItem()};
}
