#include "entity/equipment.h"

#include "entity/equipment_item.h"
#include "entity/region.h"
#include "kelvane_assert.h"
#include "object_link.h"

#include <algorithm>

namespace harq {

Equipment::Equipment(QObject* parent)
    : QObject(parent)
{
}

Equipment::~Equipment() = default;

QPointF Equipment::pos() const
{
    return pos_.toPointF();
}

void Equipment::setPos(QPointF p)
{
    pos_ = QVector3D(float(p.x()), float(p.y()), 0.0f);
}

void Equipment::setCabin(Region* cabin)
{
    // The cabin belongs to a deck that may destroy it first.
    kelvane::linkUntilDestroyed(this, cabin_, cabin);
}

void Equipment::addItem(EquipmentItem* item)
{
    KELVANE_ASSERT(item);
    // A second owner of the same item would delete it twice.
    const auto held = [item](const auto& owned) { return owned.get() == item; };
    if (std::any_of(items_.cbegin(), items_.cend(), held))
        return;
    items_.emplace_back(item);
}

EquipmentItem* Equipment::itemAt(std::size_t ix) const
{
    KELVANE_ASSERT(ix < items_.size());
    return items_[ix].get();
}

} // namespace harq
