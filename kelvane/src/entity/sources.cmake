# The model. Shared units call the hooks of entity_edition.h where one edition does
# a step more; kelvaned's own members and hooks are in the *_tags.cpp units below,
# the maintenance edition's in maintenance/.
list(APPEND KELVANE_COMMON_SOURCES
    src/entity/entity_edition.h
    src/entity/view_group.h src/entity/view_group.cpp
    src/entity/value_transform.h src/entity/value_transform.cpp
    src/entity/sensor_item.h src/entity/sensor_item.cpp
    src/entity/sensor.h src/entity/sensor.cpp
    src/entity/sensor_item_index.h src/entity/sensor_item_index.cpp
    src/entity/region.h src/entity/region.cpp
    src/entity/deck.h src/entity/deck.cpp
    src/entity/neighbour.h src/entity/neighbour.cpp
    src/entity/firecard.h src/entity/firecard.cpp
    src/entity/equipment.h src/entity/equipment.cpp
    src/entity/equipment_classifier.h src/entity/equipment_classifier.cpp
    src/entity/equipment_item.h src/entity/equipment_item.cpp
)

list(APPEND KELVANE_TAGS_SOURCES
    src/entity/sensor_tags.cpp
    src/entity/region_tags.cpp
    src/entity/deck_tags.cpp
)
