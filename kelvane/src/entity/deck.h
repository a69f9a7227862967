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
class KELVANE_EXPORT Deck : public QObject
{
    Q_OBJECT

public:
    using Sensors = std::vector<std::shared_ptr<Sensor>>;
    using Regions = std::vector<std::shared_ptr<Region>>;

    explicit Deck(QObject* parent = nullptr);
    explicit Deck(quint64 id, QObject* parent = nullptr);
    ~Deck() override;

    quint64 id() const { return id_; }
    void setID(quint64 id) { id_ = id; }
    int level() const { return level_; }
    void setLevel(int level) { level_ = level; }
    const QString& name() const { return name_; }
    void setName(const QString& name) { name_ = name; }
    const QString& svgFilename() const { return svg_; }
    void setSvg(const QString& svg) { svg_ = svg; }

    /// Takes ownership of \a sensor (not null, without a Qt parent) and counts it;
    /// a sensor already on the deck is ignored.
    void addSensor(Sensor* sensor);
    /// Destroys all sensors; emits nothing.
    void clearSensor();
    /// Recounts the normal sensors; emits nothing.
    void sensorCheck();
    int sensorCount() const;
    int normalSensorCount() const { return normal_sensor_count_; }
    int abnormalSensorCount() const { return sensorCount() - normal_sensor_count_; }
    std::vector<Sensor*> sensors() const;
    /// Sensors whose view group's group code is \a group.
    std::vector<Sensor*> sensorByViewGroup(const QString& group) const;
    /// Group codes of the state sensors, each once, in order of first appearance.
    QStringList stateViewGroup() const;

    /// Takes ownership of \a region (not null, without a Qt parent); a region
    /// already on the deck is ignored. The caller still calls Region::setDeck(this).
    void addRegion(Region* region);
    /// Destroys all regions; emits nothing.
    void clearRegion();
    QList<Region*> regions() const;
    /// Distinct region types, in no defined order.
    QList<int> regionTypes() const;
    QList<Region*> regionByType(int type) const;
    bool hasRegionByCode(const QString& code) const;
    /// The first region with \a id, or null.
    Region* regionByID(quint64 id) const;
#ifndef KELVANE_MAINTENANCE
    /// The first cabin whose outline contains \a pos, or null.
    Region* cabinAtPos(QPointF pos) const;
#endif

#ifdef KELVANE_MAINTENANCE
    /// Recounts and emits sensorStateChanged when the normal count changed.
    /// Sensors are not connected to it here; a host may connect them.
    void onSensorStateChanged(harq::Sensor* sensor);
#endif

signals:
    void sensorStateChanged(harq::Deck* self);
    void regionDamage(harq::Region* region);
    void regionRecover(harq::Region* region);

#ifndef KELVANE_MAINTENANCE
protected:
    void onSensorStateChanged();
#endif

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
};

} // namespace harq

Q_DECLARE_METATYPE(harq::Deck*)
