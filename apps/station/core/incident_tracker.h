#pragma once

#include "incident_event.h"
#include "incident_sharing.h"
#include "incident_state.h"

#include <QHash>
#include <QObject>
#include <QSet>

#include <functional>

class AlarmState;
class IncidentCommands;
class IncidentStore;
class QTimer;

/// Ties one station's incident together: writes every alarm transition,
/// acknowledgement and thinned value of the ship's sensor items to the history,
/// publishes what the operator does by hand (the incident commands: damage,
/// recovery, team deployed or withdrawn, boundary set or lifted; shelving in
/// the alarm state) through the shared points, and applies what other consoles
/// publish to the incident state, recording it too.
///
/// A shelving that arrives before its alarm is raised here is applied when it
/// is; a shelving that runs out is not published (every console sees it end
/// and records it). So are the acknowledgements the items' own flags do not
/// carry (of a cleared alarm, or of an item without an acknowledgement point).
///
/// Every console records every shared action once, with the time and console
/// of the one who acted. After a restart the history is not written twice: the
/// alarms it left listed are recalled as they stood (raise time, acknowledgement,
/// first-out mark, shelving to the millisecond) and, once the server's values
/// have come, settled by what changed meanwhile, recording only that; a shared
/// value already recorded is only applied to the state.
///
/// The history rebuilds the shared state: at start the last action on every
/// point is applied from it, and once a connection is made every point the
/// server has no value for, or an older one, gets this console's value back
/// (IncidentSharing::republish()), kept with its own time and console. Of two
/// values of a point the newer by the action's time wins, on equal times the
/// greater console name: the same choice on every console, whatever order the
/// server sends them in. An action taken while the link is down is in the
/// history at once and so survives a restart until it is published.
///
/// Two consoles that deploy a team into the same free unit at once collide on
/// its point: the one whose deployment loses moves its team to another free
/// unit and publishes that, so neither team silently leaves the plans; with no
/// unit free, the command refuses (IncidentCommands::deployRefused()).
class IncidentTracker : public QObject
{
    Q_OBJECT

public:
    /// The ship's things, by the ship file's ids, as the history names them.
    struct Catalogue {
        /// Compartment id to its place ("deck compartment [code]").
        QHash<quint64, QString> compartments;
        /// Damage boundary id to its place.
        QHash<quint64, QString> boundaries;
        /// The ids of the ship's decks: a team elsewhere cannot be shown.
        QSet<quint64> decks;
        /// Item tag to the kind of damage its sensor reports ("火灾").
        QHash<QString, QString> itemDamage;
        /// The name of the damage responses (bits) as configured; empty for none.
        std::function<QString(int responses)> damageName;
    };
    /// What an item of the alarm state reads now.
    struct Reading {
        double primary = 0;
        double shown = 0;
        bool abnormal = false;
        bool awaiting = false;
        bool valueItem = false;
    };
    /// Reads the item of alarm id \a id.
    using ItemReader = std::function<Reading(int id)>;

    /// Every shared point: one per compartment, one per unit of each team
    /// type, two per item tag of \a alarms (shelving, acknowledgement), one per damage boundary.
    static QStringList sharedPoints(const Catalogue& ship, const IncidentState& state, const AlarmState& alarms);

    /// Follows \a alarms (whose items \a read reads) and \a commands, applies
    /// what \a sharing receives to \a state. Gives \a alarms what the history
    /// knows (raise times of alarms still standing, the last hour of every value
    /// item's trend). Everything handed in must outlive this object.
    IncidentTracker(Catalogue ship, IncidentState& state, IncidentCommands& commands, AlarmState& alarms,
                    ItemReader read, IncidentStore& store, IncidentSharing& sharing, QObject* parent = nullptr);

    /// The value (or the acknowledgement flag) of alarm \a id's item changed.
    void valueChanged(int id);

    /// The operator logged in here, recorded with every action taken here; empty for none.
    void setOperatorName(const QString& name) { operator_ = name; }

signals:
    /// Another console did \a event (or did it before this one started), now
    /// applied here; \a caughtUp when this console's history held it already
    /// (it was shown with the history at start; a shelving that has run out
    /// since is not told again).
    void remoteAction(const IncidentEvent& event, bool caughtUp);

private:
    /// Lists the alarms the history left listed (AlarmState::recall()).
    void recallAlarms();
    /// The server's values at booking have come: puts back what it lacks and
    /// settles the recalled alarms by their items' readings.
    void settle();
    void seedTrends();
    void onRaised(int id);
    void onCleared(int id);
    void recordValues(int id, const Reading& now, qint64 at, bool withAcknowledgement);
    /// Records that alarm \a id's acknowledgement flag was set at \a at, by this console if it wrote it.
    void recordAcknowledgement(qint64 at, int id);
    void onAlarmChanged(int id);
    void applyShelving(const QString& tag);
    void onTeamDeployed(const IncidentState::Team& team);
    void onReceived(const QString& point, const IncidentSharing::Value& value);
    /// Applies \a value of \a point to the state, describing it in \a event; false for a point not shared.
    bool apply(const QString& point, const IncidentSharing::Value& value, IncidentEvent* event);
    void putBackUnheard();
    /// The end of the shelving \a value of a shelving point carries; 0 when it ends one.
    static qint64 shelvedUntil(const IncidentSharing::Value& value);
    /// True when \a value of \a point is a shelving that has run out by now.
    bool hasRunOut(const QString& point, const IncidentSharing::Value& value) const;
    void applyTeam(int type, int unit, const QString& payload, IncidentEvent* event);
    void publishAction(IncidentEvent::Kind kind, const QString& point, const QString& payload, const QString& place);
    /// Publishes \a payload on \a point and records \a about with the time, console and value written.
    void publishAction(const QString& point, const QString& payload, IncidentEvent about);
    /// An event of \a kind about alarm \a id's item now: its place, priority and kind of damage.
    IncidentEvent itemEvent(IncidentEvent::Kind kind, int id, const QString& console = QString()) const;
    /// Describes the item of \a tag in \a event (its place, or the tag for an item not here); its alarm id or -1.
    int describeTag(const QString& tag, IncidentEvent* event) const;
    void record(const IncidentEvent& event);
    QString teamPayload(const IncidentState::Team& team) const;
    std::optional<IncidentState::Team> teamFrom(int type, int unit, const QString& payload) const;
    QString itemPlace(int id) const;
    QString compartmentPlace(quint64 compartment) const;
    QString damageText(int responses) const;
    QString teamPlace(const IncidentState::Team& team) const;

    const Catalogue ship_;
    IncidentState& state_;
    IncidentCommands& commands_;
    AlarmState& alarms_;
    ItemReader read_;
    IncidentStore& store_;
    IncidentSharing& sharing_;
    // Set while a shared shelving is applied, so the alarm state's change is not published back.
    bool applying_ = false;
    QHash<int, bool> awaiting_;
    // Per shared point, the winning value known (from the history, the server
    // or this console) and the text last recorded.
    QHash<QString, IncidentSharing::Value> known_;
    QHash<QString, QString> recorded_;
    // Points applied from the history and not yet heard from the server.
    QSet<QString> from_history_;
    // Points the server sent a value of since the last connection.
    QSet<QString> heard_;
    QTimer* settle_;
    QHash<QString, quint64> damage_points_;
    QHash<QString, QPair<int, int>> team_points_;
    QHash<QString, quint64> boundary_points_;
    QHash<QString, bool> shelved_;
    // Tags whose shared shelving (in the state) awaits its alarm here.
    QSet<QString> pending_shelving_;
    QString operator_;
    // Tags whose acknowledgement this console wrote, until the item's flag
    // shows it: the operator logged in then (empty without log-in).
    QHash<QString, QString> acknowledged_here_;
};
