#include "entity/equipment_item.h"

namespace harq {

EquipmentItem::EquipmentItem(QObject* parent)
    : QObject(parent)
{
}

EquipmentItem::~EquipmentItem() = default;

} // namespace harq
