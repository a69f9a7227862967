#include "entity/sensor.h"

#include "entity/entity_edition.h"
#include "entity/sensor_item.h"
#include "entity/view_group.h"
#include "kelvane_assert.h"
#include "slot_connection.h"

#include <algorithm>

namespace harq {

Sensor::Sensor(QObject* parent)
    : QObject(parent)
    , view_group_(std::make_shared<ViewGroup>(tr("NA"), tr("NA"), DamageResponse::NA))
{
}

Sensor::~Sensor() = default;

void Sensor::setPos(QPointF p)
{
    pos_ = QVector3D(float(p.x()), float(p.y()), 0.0f);
}

void Sensor::setViewGroup(std::shared_ptr<ViewGroup> vg)
{
    view_group_ = std::move(vg);
}

void Sensor::setViewGroup(ViewGroup* vg)
{
    KELVANE_ASSERT(vg);
    view_group_.reset(vg);
}

QPointF Sensor::point() const
{
    return pos_.toPointF();
}

int Sensor::itemCount() const
{
    return int(items_.size());
}

SensorItem* Sensor::itemAt(int ix) const
{
    KELVANE_ASSERT(ix >= 0 && static_cast<std::size_t>(ix) < items_.size());
    return items_[std::size_t(ix)].get();
}

bool Sensor::isNormal() const
{
    return std::all_of(items_.cbegin(), items_.cend(), [](const auto& item) { return item->isNormal(); });
}

bool Sensor::isStateSensor() const
{
    return !items_.empty() && items_.front()->isStateItem();
}

QString Sensor::toolTip() const
{
    // One pass, and no copy for the usual single abnormal item: this runs on
    // every state change.
    QString tips;
    bool abnormal = false;
    for (const auto& item : items_) {
        if (!item->isAbnormal())
            continue;
        if (abnormal)
            tips += QLatin1Char('+');
        tips += item->toolTip();
        abnormal = true;
    }
    if (!abnormal)
        return items_.empty() ? QString() : items_.front()->toolTip();
    return tips;
}

QString Sensor::defaultIconName() const
{
    return items_.empty() ? QString() : items_.front()->normalIconName();
}

QStringList Sensor::iconsName() const
{
    if (isNormal())
        return {defaultIconName()};
    QStringList icons;
    for (const auto& item : items_) {
        if (item->isAbnormal())
            icons << item->iconName();
    }
    return icons;
}

void Sensor::addItem(SensorItem* item)
{
    KELVANE_ASSERT(item);
    // A second owner of the same item would delete it twice.
    if (findItem(item) != items_.cend())
        return;
    kelvane::connectToSlot(item, &SensorItem::valueChanged, this, "onItemValueChanged(harq::SensorItem*)");
    kelvane::connectToSlot(item, &SensorItem::stateChanged, this, "onItemStateChanged(harq::SensorItem*)");
    edition::prepareItem(*item);
    items_.emplace_back(item);
}

void Sensor::clearItem()
{
    for (const auto& item : items_)
        item->disconnect(this);
    items_.clear();
}

void Sensor::onItemValueChanged(SensorItem* item)
{
    const auto found = findItem(item);
    if (found != items_.cend())
        emit itemValueChanged(int(found - items_.cbegin()));
}

Sensor::Items::const_iterator Sensor::findItem(const SensorItem* item) const
{
    return std::find_if(items_.cbegin(), items_.cend(), [item](const auto& held) { return held.get() == item; });
}

} // namespace harq
