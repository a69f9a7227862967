#include "graphics/equipment_layer.h"

#include "graphics/equipment_tag.h"
#include "kelvane_assert.h"
#include "object_link.h"

#include <QGraphicsRectItem>

namespace {

constexpr int kInitialGroupBuckets = 10;

} // namespace

EquipmentLayer::EquipmentLayer(QGraphicsItem* parent)
    : QGraphicsObject(parent)
{
    equips_.reserve(kInitialGroupBuckets);
}

EquipmentLayer::~EquipmentLayer()
{
    setParentItem(nullptr);
}

QRectF EquipmentLayer::boundingRect() const
{
    return QRectF();
}

void EquipmentLayer::paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*)
{
}

void EquipmentLayer::addEquipment(EquipmentTag* tag)
{
    KELVANE_ASSERT(tag);
    QGraphicsItem*& group = equips_[tag->classifier()];
    if (!group)
        group = new QGraphicsRectItem(this); // no rectangle: draws nothing
    tag->setParentItem(group);
}

void EquipmentLayer::removeClassifier(harq::EquipmentClassifier* classifier)
{
    const auto it = equips_.find(classifier);
    if (it == equips_.end())
        return;
    QGraphicsItem* group = it.value();
    equips_.erase(it);
    kelvane::detachAndDelete(group);
}
