#include "entity/equipment.h"

#include "entity/equipment_item.h"
#include "kelvane_assert.h"

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

void Equipment::addItem(EquipmentItem* item)
{
    KELVANE_ASSERT(item);
    items_.emplace_back(item);
}

EquipmentItem* Equipment::itemAt(std::size_t ix) const
{
    KELVANE_ASSERT(ix < items_.size());
    return items_[ix].get();
}

} // namespace harq
