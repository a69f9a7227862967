#include "entity/equipment_classifier.h"

#include "kelvane_edition.h"

namespace harq {

namespace {

// The maintenance edition's catalogue gives each classifier exactly one kind of
// fight; kelvaned's may combine them as flags.
bool fights(int classifier, EquipmentClassifier::Fights kind)
{
    if constexpr (kelvane::kMaintenanceEdition)
        return classifier == kind;
    else
        return (classifier & kind) != 0;
}

} // namespace

EquipmentClassifier::EquipmentClassifier(QObject* parent)
    : QObject(parent)
{
}

EquipmentClassifier::~EquipmentClassifier() = default;

bool EquipmentClassifier::isAntiFire() const
{
    return fights(classifier_, AntiFire);
}

bool EquipmentClassifier::isAntiSink() const
{
    return fights(classifier_, AntiSink);
}

} // namespace harq
