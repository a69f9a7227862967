#pragma once

#include "entity/region.h"
#include "kelvane_export.h"

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace harq {

class Sensor;

/// One ship deck: the root of the model. Owns its sensors and regions, counts
/// its normal sensors and forwards the damage and recovery of its regions.
///
/// The host builds a deck by adding its sensors and regions, calling
/// Region::setDeck on each region and offering every sensor to every region
/// (Region::associateSensor), then hands it to the deck view. Every pointer the
/// deck returns is borrowed: sensors and regions live until they are cleared or
/// the deck is destroyed.
class KELVANE_EXPORT Deck : public QObject
{
    Q_OBJECT

public:
    /// The sensors; the deck is their only shared owner, everyone else holds plain pointers.
    using Sensors = std::vector<std::shared_ptr<Sensor>>;
    /// The regions; the deck is their only shared owner, everyone else holds plain pointers.
    using Regions = std::vector<std::shared_ptr<Region>>;

    /// An empty deck with id 0 and level 0.
    explicit Deck(QObject* parent = nullptr);
    /// An empty deck with the identifier \a id.
    explicit Deck(quint64 id, QObject* parent = nullptr);
    /// Destroys the regions, then the sensors.
    ~Deck() override;

    /// Host-assigned identifier.
    quint64 id() const { return id_; }
    /// Sets the identifier; emits nothing.
    void setID(quint64 id) { id_ = id; }
    /// Level (storey) number of the deck.
    int level() const { return level_; }
    /// Sets the level; emits nothing.
    void setLevel(int level) { level_ = level; }
    /// Display name.
    const QString& name() const { return name_; }
    /// Sets the display name; emits nothing.
    void setName(const QString& name) { name_ = name; }
    /// File name of the deck drawing (SVG), kept for the host to hand to the deck scene.
    const QString& svgFilename() const { return svg_; }
    /// Sets the drawing's file name; nothing is loaded here.
    void setSvg(const QString& svg) { svg_ = svg; }

    /// Takes ownership of \a sensor (not null, without a Qt parent) and counts it;
    /// a sensor already on the deck is ignored.
    ///
    /// In the edition with tags it also sets the sensor's deck and follows its
    /// sensorStateChanged; in the maintenance edition it only stores and counts.
    /// Emits nothing. A null \a sensor aborts.
    void addSensor(Sensor* sensor);
    /// Destroys all sensors; emits nothing.
    /// The regions forget them by themselves; pointers from sensors() dangle.
    void clearSensor();
    /// Recounts the normal sensors; emits nothing. Needed after a change the
    /// sensors do not signal (new limits, items added or cleared later) and, in the
    /// maintenance edition, whenever the host does not connect the sensors.
    void sensorCheck();
    /// Number of sensors.
    int sensorCount() const;
    /// Number of normal sensors, as last counted.
    int normalSensorCount() const { return normal_sensor_count_; }
    /// sensorCount() minus normalSensorCount().
    int abnormalSensorCount() const { return sensorCount() - normal_sensor_count_; }
    /// All sensors in insertion order (borrowed).
    std::vector<Sensor*> sensors() const;
    /// Sensors whose view group's group code is \a group (exact,
    /// case-sensitive), in insertion order; sensors without a view group never match.
    std::vector<Sensor*> sensorByViewGroup(const QString& group) const;
    /// Group codes of the state sensors, each once, in order of first appearance.
    QStringList stateViewGroup() const;

    /// Takes ownership of \a region (not null, without a Qt parent); a region
    /// already on the deck is ignored. The caller still calls Region::setDeck(this).
    /// Emits nothing. A null \a region aborts.
    void addRegion(Region* region);
    /// Destroys all regions; emits nothing.
    /// In the edition with tags the sensors' links to those cabins are cleared
    /// first. Equipment cabins, neighbour lists and fire cards notice the
    /// destruction by themselves and drop the regions.
    void clearRegion();
    /// All regions in insertion order (borrowed).
    QList<Region*> regions() const;
    /// Distinct region types, in no defined order.
    QList<int> regionTypes() const;
    /// Regions of the type \a type, in insertion order.
    QList<Region*> regionByType(int type) const;
    /// True when some region's code equals \a code (exact, case-sensitive).
    bool hasRegionByCode(const QString& code) const;
    /// The first region with \a id, or null.
    Region* regionByID(quint64 id) const;

signals:
    /// Emitted when, after a sensor reported a state change, the number of normal
    /// sensors differs from the stored count; the count is updated first, \a self
    /// is this deck. A sensor going from one abnormal condition to another does
    /// not emit it, nor do addSensor(), sensorCheck() and clearSensor(). In the
    /// maintenance edition it comes only through onSensorStateChanged(harq::Sensor*).
    void sensorStateChanged(harq::Deck* self);
    /// Re-emits Region::damage of every region whose setDeck() was last given
    /// this deck; \a region is that region.
    void regionDamage(harq::Region* region);
    /// Re-emits Region::recover of every region whose setDeck() was last given
    /// this deck; \a region is that region.
    void regionRecover(harq::Region* region);

private:
    int countNormalSensors() const;
    void recount();

    quint64 id_ = 0;
    int level_ = 0;
    QString name_;
    QString svg_;
    Sensors sensors_;
    // Declared after the sensors so the regions, which point at them, go first.
    Regions regions_;
    int normal_sensor_count_ = 0;

    // What only one edition has.
#ifdef KELVANE_MAINTENANCE
public:
    /// Recounts and emits sensorStateChanged when the normal count changed.
    /// Sensors are not connected to it here; a host may connect them.
    /// \a sensor is ignored: every sensor is counted again.
    void onSensorStateChanged(harq::Sensor* sensor);
#else
public:
    /// The first cabin whose outline contains \a pos, or null.
    /// Regions of other types are never returned, even if they contain \a pos.
    Region* cabinAtPos(QPointF pos) const;

protected:
    /// Recounts the normal sensors and emits sensorStateChanged() when the count
    /// changed; addSensor() connects every sensor's state signal to it.
    void onSensorStateChanged();
#endif
};

} // namespace harq

Q_DECLARE_METATYPE(harq::Deck*)
