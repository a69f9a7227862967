#include "entity/firecard.h"

#include "entity/region.h"
#include "kelvane_assert.h"
#include "object_link.h"

namespace harq {

DeviceList::DeviceList(const QString& cabin)
    : cabin_(cabin)
{
}

void DeviceList::addDevice(const QString& name, const QString& count)
{
    devices_.emplace_back(name, count);
}

void DeviceList::clear()
{
    devices_.clear();
}

const QString& DeviceList::deviceNameAt(std::size_t ix) const
{
    KELVANE_ASSERT(ix < devices_.size());
    return devices_[ix].first;
}

const QString& DeviceList::deviceCountAt(std::size_t ix) const
{
    KELVANE_ASSERT(ix < devices_.size());
    return devices_[ix].second;
}

Firecard::Firecard(QObject* parent)
    : QObject(parent)
{
}

Firecard::~Firecard() = default;

void Firecard::setCenter(Region* center)
{
    // The compartment belongs to a deck that may destroy it first.
    kelvane::linkUntilDestroyed(this, center_, center);
}

DeviceList& Firecard::dangerSourceOuterAt(std::size_t ix)
{
    KELVANE_ASSERT(ix < ds_outer_.size());
    return ds_outer_[ix];
}

} // namespace harq
