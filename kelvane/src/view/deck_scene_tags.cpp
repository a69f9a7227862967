// The deck scene's equipment layer (edition with tags).
#include "view/deck_scene.h"

#include "graphics/equipment_layer.h"

EquipmentLayer* DeckScene::getOrCreateEquipmentLayer()
{
    if (!equip_) {
        equip_ = new EquipmentLayer;
        addItem(equip_);
    }
    return equip_;
}
