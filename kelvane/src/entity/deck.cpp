#include "entity/deck.h"

#include "entity/entity_edition.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/view_group.h"
#include "kelvane_assert.h"
#include "kelvane_edition.h"

#include <QSet>

#include <algorithm>

namespace harq {

namespace {

template<typename T>
bool holds(const std::vector<std::shared_ptr<T>>& owned, const T* object)
{
    return std::any_of(owned.cbegin(), owned.cend(), [object](const auto& held) { return held.get() == object; });
}

} // namespace

Deck::Deck(QObject* parent)
    : QObject(parent)
{
}

Deck::Deck(quint64 id, QObject* parent)
    : QObject(parent)
    , id_(id)
{
}

Deck::~Deck() = default;

void Deck::addSensor(Sensor* sensor)
{
    KELVANE_ASSERT(sensor);
    // A second owner of the same object would delete it twice.
    if (holds(sensors_, sensor))
        return;
    sensors_.emplace_back(sensor);
    edition::placeSensor(*sensor, this);
    // The maintenance edition leaves connecting the sensors to the host.
    if constexpr (!kelvane::kMaintenanceEdition)
        connect(sensor, &Sensor::sensorStateChanged, this, &Deck::onSensorStateChanged);
    if (sensor->isNormal())
        ++normal_sensor_count_;
}

void Deck::clearSensor()
{
    sensors_.clear();
    normal_sensor_count_ = 0;
}

void Deck::sensorCheck()
{
    normal_sensor_count_ = countNormalSensors();
}

int Deck::sensorCount() const
{
    return int(sensors_.size());
}

std::vector<Sensor*> Deck::sensors() const
{
    std::vector<Sensor*> plain;
    plain.reserve(sensors_.size());
    for (const auto& sensor : sensors_)
        plain.push_back(sensor.get());
    return plain;
}

std::vector<Sensor*> Deck::sensorByViewGroup(const QString& group) const
{
    std::vector<Sensor*> found;
    for (const auto& sensor : sensors_) {
        const ViewGroup* vg = sensor->viewGroup();
        if (vg && vg->group() == group)
            found.push_back(sensor.get());
    }
    return found;
}

QStringList Deck::stateViewGroup() const
{
    QStringList groups;
    for (const auto& sensor : sensors_) {
        const ViewGroup* vg = sensor->viewGroup();
        if (vg && sensor->isStateSensor() && !groups.contains(vg->group()))
            groups << vg->group();
    }
    return groups;
}

void Deck::addRegion(Region* region)
{
    KELVANE_ASSERT(region);
    if (holds(regions_, region))
        return;
    regions_.emplace_back(region);
}

void Deck::clearRegion()
{
    edition::releaseCabins(sensors_, regions_);
    regions_.clear();
}

QList<Region*> Deck::regions() const
{
    QList<Region*> plain;
    plain.reserve(int(regions_.size()));
    for (const auto& region : regions_)
        plain.append(region.get());
    return plain;
}

QList<int> Deck::regionTypes() const
{
    QSet<int> types;
    for (const auto& region : regions_)
        types.insert(region->type());
    return types.values();
}

QList<Region*> Deck::regionByType(int type) const
{
    QList<Region*> found;
    for (const auto& region : regions_) {
        if (region->type() == type)
            found.append(region.get());
    }
    return found;
}

bool Deck::hasRegionByCode(const QString& code) const
{
    return std::any_of(regions_.cbegin(), regions_.cend(),
                       [&code](const auto& region) { return region->code() == code; });
}

Region* Deck::regionByID(quint64 id) const
{
    const auto found = std::find_if(regions_.cbegin(), regions_.cend(),
                                    [id](const auto& region) { return region->id() == id; });
    return found != regions_.cend() ? found->get() : nullptr;
}

int Deck::countNormalSensors() const
{
    return int(std::count_if(sensors_.cbegin(), sensors_.cend(),
                             [](const auto& sensor) { return sensor->isNormal(); }));
}

void Deck::recount()
{
    const int normal = countNormalSensors();
    if (normal == normal_sensor_count_)
        return;
    normal_sensor_count_ = normal;
    emit sensorStateChanged(this);
}

} // namespace harq
