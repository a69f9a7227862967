#include "station_console.h"

#include "alarm_settings.h"
#include "data_link.h"
#include "incident_catalogue.h"

StationConsole::StationConsole(const Ship& ship, DataLink& link, const AlarmSettings& settings,
                               const ConsoleClock& clock)
    : alarms_(clock)
    , feed_(ship, settings, alarms_, clock)
    , commands_(alarms_, [&link](const QString& point, qint32 value) { return link.writeInt(point, value); })
    , incident_(IncidentCatalogue::teamTypes(), IncidentCatalogue::boundaryIds(ship))
    , incident_commands_(incident_)
{
    IncidentCatalogue::placeStations(ship, incident_);
    alarms_.setShelveLimitMinutes(settings.shelveLimitMinutes());
}
