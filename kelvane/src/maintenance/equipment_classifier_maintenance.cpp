// The classifier's members that only the maintenance edition has.
#include "entity/equipment_classifier.h"

#include "entity/equipment.h"

namespace harq {

void EquipmentClassifier::holdEquipment(std::shared_ptr<Equipment> equipment)
{
    equipments_.push_back(std::move(equipment));
}

} // namespace harq
