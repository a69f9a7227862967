#pragma once

#include <QCoreApplication>
#include <QString>

/// One entry of a station's incident history: an alarm transition, an
/// acknowledgement, a shelving or an operator action, with the real time it
/// happened. Stored by IncidentStore, one row of its events table each.
struct IncidentEvent {
    Q_DECLARE_TR_FUNCTIONS(IncidentEvent)

public:
    /// Stored by name (kindName), so the numbering may change.
    enum class Kind {
        AlarmRaised,
        AlarmCleared,
        Acknowledged,
        Shelved,
        Unshelved,
        ManualDamage,
        Recovery,
        TeamDeployed,
        TeamWithdrawn,
        BoundarySet,
        BoundaryLifted,
        /// The operator stopped the audible alert; nothing is acknowledged by it.
        Silenced,
    };

    /// Milliseconds since the epoch (UTC).
    qint64 msecs = 0;
    Kind kind = Kind::AlarmRaised;
    /// The data point: an item's tag for alarms, the shared point for actions.
    QString subject;
    /// Where and what, as the operator reads it (deck, compartment, sensor or team).
    QString place;
    /// The console that acted (for an acknowledgement, the one that wrote it,
    /// when this station knows it); empty for what the sensors reported.
    QString console;
    /// For actions, the shared point's payload (what a replay writes back).
    QString value;
    // The fields below are brace-initialised so events written {time, kind, ...}
    // without them compile warning-free.
    /// The operator logged in where the action was taken, as that console
    /// records it; empty for the sensors, other consoles and consoles without log-in.
    QString operatorName{};
    /// For alarms, acknowledgements and shelving: the alarm's priority, by name, as it was then.
    QString priority{};
    /// The kind of damage: what the sensor watches for (its group's damage
    /// responses) or what was marked by hand, by name; empty when none applies.
    QString damage{};
    /// For a raised alarm: the incident's first-out alarm (the first raised
    /// while nothing was listed), which keeps the mark until the list empties.
    bool firstOut{};

    /// "alarm_raised", "team_deployed", ...
    static QString kindName(Kind kind);
    /// The kind named \a name; false for an unknown name.
    static bool kindFromName(const QString& name, Kind* kind);
    /// The kind in the operator's words.
    static QString kindText(Kind kind);
    /// One line for the event log and the reports.
    QString describe() const;
    /// The reason given for a shelving; empty for other events.
    QString shelveReason() const;
};
