#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QSet>
#include <QString>
#include <QVector>

#include <optional>

/// What the crew has done about an incident by hand, as every console shares
/// it: compartments marked damaged, teams where they stand, damage boundaries
/// set, alarms shelved. Things are known by the ship file's ids and tags only;
/// the plan shows this model and the commands and the sharing change it.
///
/// Each team type has a fixed number of units (its size); a team stands on
/// one unit, so no more of a type can be out than it has units.
class IncidentState : public QObject
{
    Q_OBJECT

public:
    /// One type of team in the catalogue: its name and how many units it has.
    struct TeamType {
        QString name;
        int units = 0;
    };
    /// One unit of a team, where it stands.
    struct Team {
        int type = -1;
        int unit = -1;
        quint64 deck = 0;
        QPointF position;
        /// 0 when it stands in no compartment.
        quint64 compartment = 0;
    };
    struct Shelving {
        /// Ms since the epoch.
        qint64 until = 0;
        QString reason;
    };

    /// A state with the units of \a teams all free and the boundaries \a boundaries (ship file ids) lifted.
    IncidentState(QVector<TeamType> teams, QSet<quint64> boundaries, QObject* parent = nullptr);

    const QVector<TeamType>& teamTypes() const { return types_; }
    /// The type named \a name; -1 for a name not in the catalogue.
    int teamType(const QString& name) const;

    /// The response \a compartment is marked with by hand; 0 when it is not.
    int damageOf(quint64 compartment) const { return damage_.value(compartment); }
    const QHash<quint64, int>& damage() const { return damage_; }
    /// Marks \a compartment with \a response (0: back to normal); damageChanged() when that changes.
    void setDamage(quint64 compartment, int response);

    /// Every team out, by type and unit.
    QList<Team> teams() const;
    /// The team on \a unit of \a type; none when that unit is free or does not exist.
    std::optional<Team> teamAt(int type, int unit) const;
    /// How many units of \a type are not out.
    int freeUnits(int type) const;
    /// The first free unit of \a type; none when every unit is out.
    std::optional<int> freeUnit(int type) const;
    /// The team of \a type standing on \a deck within half a unit of \a position.
    std::optional<Team> teamNear(int type, quint64 deck, QPointF position) const;
    /// Puts \a team on its unit, replacing whoever stood there (teamRemoved()
    /// then teamPlaced()); false for a unit the catalogue does not have.
    bool placeTeam(const Team& team);
    /// Frees \a unit of \a type (teamRemoved() when someone stood there).
    void clearUnit(int type, int unit);

    bool isBoundarySet(quint64 id) const { return set_boundaries_.contains(id); }
    bool hasBoundary(quint64 id) const { return boundaries_.contains(id); }
    /// Sets or lifts the boundary \a id; boundaryChanged() when that changes. Unknown ids are ignored.
    void setBoundary(quint64 id, bool set);

    /// The shelving shared for the item \a tag; none when it is not shelved.
    std::optional<Shelving> shelvingOf(const QString& tag) const;
    /// Records \a tag shelved until \a shelving.until (until 0: not shelved); shelvingChanged().
    void setShelving(const QString& tag, const Shelving& shelving);

signals:
    void damageChanged(quint64 compartment, int response);
    void teamPlaced(const IncidentState::Team& team);
    void teamRemoved(const IncidentState::Team& team);
    void boundaryChanged(quint64 id, bool set);
    void shelvingChanged(const QString& tag);

private:
    QVector<TeamType> types_;
    QSet<quint64> boundaries_;
    QHash<quint64, int> damage_;
    // [type][unit]: who stands there.
    QVector<QVector<std::optional<Team>>> units_;
    QSet<quint64> set_boundaries_;
    QHash<QString, Shelving> shelving_;
};

Q_DECLARE_METATYPE(IncidentState::Team)
