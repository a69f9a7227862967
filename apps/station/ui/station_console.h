#pragma once

#include "alarm_commands.h"
#include "alarm_feed.h"
#include "alarm_state.h"
#include "incident_commands.h"
#include "incident_state.h"

class AlarmSettings;
class ConsoleClock;
class DataLink;
class Ship;

/// The console's core on one ship, as the window and the session share it:
/// the alarm state, fed by the ship's sensor items, and the commands on it,
/// whose acknowledgements go out through the data link; the incident state
/// (starting with the ship's own team stations) and the commands on it.
class StationConsole
{
public:
    StationConsole(const Ship& ship, DataLink& link, const AlarmSettings& settings, const ConsoleClock& clock);

    AlarmState& alarms() { return alarms_; }
    const AlarmFeed& feed() const { return feed_; }
    AlarmCommands& commands() { return commands_; }
    IncidentState& incident() { return incident_; }
    IncidentCommands& incidentCommands() { return incident_commands_; }

private:
    AlarmState alarms_;
    AlarmFeed feed_;
    AlarmCommands commands_;
    IncidentState incident_;
    IncidentCommands incident_commands_;
};
