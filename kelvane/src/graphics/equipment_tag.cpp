#include "graphics/equipment_tag.h"

#include "config/equipment_config.h"
#include "entity/equipment.h"
#include "entity/equipment_classifier.h"
#include "kelvane_assert.h"

#include <utility>

namespace {

constexpr double kEquipmentOpacityGain = 1.2;

} // namespace

EquipmentTag::EquipmentTag(std::shared_ptr<harq::Equipment> equipment, QGraphicsItem* parent)
    : PixmapTag(parent)
    , equip_(std::move(equipment))
{
    KELVANE_ASSERT(equip_);
    setPos(equip_->pos());
}

EquipmentTag::~EquipmentTag() = default;

EquipmentTag* EquipmentTag::toEquipmentTag(QGraphicsItem* item)
{
    return qobject_cast<EquipmentTag*>(PixmapTag::toPixmapTag(item));
}

harq::EquipmentClassifier* EquipmentTag::classifier() const
{
    return equip_->classifier();
}

void EquipmentTag::makePixmap(const QPixmap& pixmap)
{
    const harq::EquipmentClassifier* kind = classifier();
    makeTag(kind ? kind->name() : QString());
    PixmapTag::makePixmap(pixmap);
}

double EquipmentTag::tagWidth() const
{
    return EquipmentConfig::instance().width();
}

double EquipmentTag::tagOpacity() const
{
    return EquipmentConfig::instance().opacity() * kEquipmentOpacityGain;
}
