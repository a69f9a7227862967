#include "entity/equipment_classifier.h"

#ifdef KELVANE_MAINTENANCE
#include "entity/equipment.h"
#endif

namespace harq {

EquipmentClassifier::EquipmentClassifier(QObject* parent)
    : QObject(parent)
{
}

EquipmentClassifier::~EquipmentClassifier() = default;

#ifdef KELVANE_MAINTENANCE
bool EquipmentClassifier::isAntiFire() const
{
    return classifier_ == AntiFire;
}

bool EquipmentClassifier::isAntiSink() const
{
    return classifier_ == AntiSink;
}

void EquipmentClassifier::holdEquipment(std::shared_ptr<Equipment> equipment)
{
    equipments_.push_back(std::move(equipment));
}
#else
bool EquipmentClassifier::isAntiFire() const
{
    return (classifier_ & AntiFire) != 0;
}

bool EquipmentClassifier::isAntiSink() const
{
    return (classifier_ & AntiSink) != 0;
}
#endif

} // namespace harq
