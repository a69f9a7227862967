list(APPEND KELVANE_COMMON_SOURCES
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
