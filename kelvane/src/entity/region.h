#pragma once

#include "kelvane_export.h"

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>

#include <memory>

namespace harq {

class Deck;
class Neighbour;
class Sensor;
class ViewGroup;

/// An area of a deck with an outline, above all a cabin (type 1). It listens to
/// the sensors inside its outline that share a damage response with it and
/// reports damage or recovery on every state change of one of them.
///
/// The region keeps no damaged flag and no alarm count: it is damaged only in the
/// sense of its last emitted signal, and accepting a sensor evaluates nothing.
/// The accepted sensors are borrowed (the deck owns them); a destroyed sensor
/// drops out of the list by itself. Added to a Deck, the region is owned by it.
class KELVANE_EXPORT Region : public QObject
{
    Q_OBJECT

public:
    /// Region type of cabins (compartments).
    static constexpr int CabinType = 1;

    /// A cabin with an empty outline and its own view group named "NA", group
    /// code "NA" and response DamageResponse::NA, so it accepts no sensor until it
    /// gets another view group. A region meant for Deck::addRegion must get no Qt
    /// \a parent.
    explicit Region(QObject* parent = nullptr);
    /// Destroys the neighbour lists; the listed sensors are only forgotten.
    ~Region() override;

    /// Sets the display name and emits nameChanged(), also when it is unchanged.
    void setName(const QString& name);
    /// Sets the region code and emits codeChanged(), also when it is unchanged.
    void setCode(const QString& code);
    /// Sets the region type (an index into the region style's types, CabinType
    /// for cabins) and emits typeChanged(), also when it is unchanged. Cabin
    /// links already set on sensors stay as they are.
    void setType(int type);
    /// Stores the outline (deck-drawing coordinates) and emits regionPathChanged.
    /// In the maintenance edition the deck's sensors are offered again in between;
    /// in the edition with tags the host offers them again itself.
    void setRegionPath(QPolygonF path);

    /// Host-assigned identifier.
    void setID(quint64 id) { id_ = id; }
    /// Frame (rib) range, kept for the host; the library never reads it.
    void setRibs(const QString& ribs) { ribs_ = ribs; }
    /// Ship side, kept for the host; the library never reads it.
    void setSide(const QString& side) { side_ = side; }
    /// Characteristic code, kept for the host; the library never reads it.
    void setCharacteristic(int characteristic) { characteristic_ = characteristic; }
    /// Takes sole ownership of \a vg, which must not be null (a null aborts).
    /// Sensors already accepted stay; offer them again to apply the new responses.
    void setViewGroup(ViewGroup* vg);
    /// Shares \a vg; an empty pointer leaves the region without a view group,
    /// so it accepts no sensor. Sensors already accepted stay.
    void setViewGroup(std::shared_ptr<ViewGroup> vg);
    /// Stores the deck and forwards damage and recovery to its signals.
    ///
    /// \a deck is not owned and may be null. A non-null deck gets damage()
    /// connected to Deck::regionDamage and recover() to Deck::regionRecover, once
    /// however often it is set. A previous, different deck loses those two
    /// connections: a region moved to another deck reports only to that one, and
    /// one given null to none. Deck::addRegion does not call this.
    void setDeck(Deck* deck);

    /// Host-assigned identifier (0 unless set).
    quint64 id() const { return id_; }
    /// Region code.
    const QString& code() const { return code_; }
    /// Display name.
    const QString& name() const { return name_; }
    /// "name[code]".
    QString nameAndCode() const;
    /// A copy of the outline, in deck-drawing coordinates.
    QPolygonF regionPath() const { return path_; }
    /// Region type; CabinType (1) unless set.
    int type() const { return type_; }
    /// The view group's response bits, 0 without a view group.
    int responseType() const;
    /// Frame (rib) range.
    const QString& ribs() const { return ribs_; }
    /// Ship side.
    const QString& side() const { return side_; }
    /// Characteristic code.
    int characteristic() const { return characteristic_; }
    /// The deck given to setDeck() (not owned); null before, and null again once
    /// that deck is destroyed.
    Deck* deck() const { return deck_; }
    /// Null without a view group. Borrowed: valid while the region keeps this
    /// group (until the next setViewGroup or its destruction).
    ViewGroup* viewGroup() const { return view_group_.get(); }
    /// The neighbour lists, created on first use as a child of this region.
    /// Never null; the region owns them, and their center is not set.
    Neighbour* neighbour();

    /// True when \a p (deck-drawing coordinates) lies inside the outline under
    /// the odd-even fill rule; an empty outline contains nothing.
    bool containsPoint(QPointF p) const;
    /// Lists \a sensor (not null) if it lies inside and shares a response,
    /// otherwise drops it.
    ///
    /// The sensor qualifies when it and the region have view groups with a common
    /// response bit and the outline contains the sensor's point(). A qualifying
    /// sensor is listed and its sensorStateChanged connected, once however often it
    /// is offered, so it counts once. A refused sensor is disconnected; in the
    /// edition with tags it is also removed from the list, in the maintenance
    /// edition it stays listed (and counted when another listed sensor changes)
    /// until it is accepted again or the next reassociateSensor(). In the edition
    /// with tags a cabin also sets itself as the sensor's cabin, whether or not it
    /// accepts it. Emits nothing: the region first reports at the sensor's next
    /// state change.
    /// A null \a sensor aborts.
    void associateSensor(Sensor* sensor);

signals:
    /// Emitted by every setName() with the new \a name.
    void nameChanged(QString name);
    /// Emitted by every setCode() with the new \a code.
    void codeChanged(QString code);
    /// Emitted by every setType() with the new \a type.
    void typeChanged(int type);
    /// Emitted with the new outline \a path by every setRegionPath() (in the
    /// maintenance edition after the sensors were offered again) and, in the
    /// edition with tags, by every addPoint().
    void regionPathChanged(QPolygonF path);
    /// Emitted right after damage() or recover() with the number of abnormal
    /// listed sensors (\a alarms, 0 after recover()).
    void alarmChanged(int alarms);
    /// Emitted on every state change of a listed sensor while at least one listed
    /// sensor is abnormal, so repeatedly while the region stays damaged; \a self
    /// is this region. The reaction region also emits it when the operator marks
    /// the compartment damaged by hand. Once setDeck() was called, the deck
    /// forwards it as Deck::regionDamage.
    void damage(harq::Region* self);
    /// Emitted on every state change of a listed sensor that leaves none of them
    /// abnormal; \a self is this region. The reaction region also emits it when
    /// the operator restores the compartment by hand. Once setDeck() was called,
    /// the deck forwards it as Deck::regionRecover.
    void recover(harq::Region* self);

protected slots:
    /// Counts the abnormal listed sensors and emits damage() or recover(), then
    /// alarmChanged(); connected to each accepted sensor's sensorStateChanged.
    void onSensorStateChanged();

private:
    void forgetOnDestruction(Sensor* sensor);

    quint64 id_ = 0;
    QString code_;
    QString name_;
    QPolygonF path_;
    int type_ = CabinType;
    QString ribs_;
    QString side_;
    int characteristic_ = 0;
    std::shared_ptr<ViewGroup> view_group_;
    Deck* deck_ = nullptr;
    QList<Sensor*> sensors_;
    Neighbour* neighbour_ = nullptr;

    // What only one edition has.
#ifdef KELVANE_MAINTENANCE
public:
    /// Offers every sensor of the deck again, as needed after the outline changed.
    /// Empties the list first, then offers the deck's sensors in deck order;
    /// does nothing without a deck. Emits nothing.
    void reassociateSensor();
#else
public:
    /// Appends the vertex \a p to the outline and emits regionPathChanged();
    /// the sensors are not offered again.
    void addPoint(QPointF p);
#endif
};

} // namespace harq

Q_DECLARE_METATYPE(harq::Region*)
