# Deck graphics. Each block lists the units of one area.

# Bounds of items that cover the whole scene (editors, layers, maintenance graphics)
list(APPEND KELVANE_COMMON_SOURCES src/graphics/scene_bounds.h src/graphics/scene_bounds.cpp)

# Sensor graphics, sensor layer, reaction regions, region reaction layer
list(APPEND KELVANE_COMMON_SOURCES
    src/graphics/sensor_graphic.h src/graphics/sensor_graphic.cpp
    src/graphics/sensor_label.h src/graphics/sensor_label.cpp
    src/graphics/sensor_tool_tips.h src/graphics/sensor_tool_tips.cpp
    src/graphics/solid_brush.h
    src/graphics/compound_sensor_graphic.h src/graphics/compound_sensor_graphic.cpp
    src/graphics/mark_sensor_graphic.h src/graphics/mark_sensor_graphic.cpp
    src/graphics/sensor_layer.h src/graphics/sensor_layer.cpp
    src/graphics/reaction_region.h src/graphics/reaction_region.cpp
    src/graphics/region_reaction_layer.h src/graphics/region_reaction_layer.cpp
    src/graphics/sensor_graphic_edition.h
)
list(APPEND KELVANE_TAGS_SOURCES
    src/graphics/sensor_graphic_tags.cpp
    src/graphics/mark_sensor_graphic_tags.cpp
)

# Damage boundaries
# (the maintenance edition's own parts are in maintenance/)
list(APPEND KELVANE_COMMON_SOURCES
    src/graphics/damage_boundary.h src/graphics/damage_boundary.cpp
    src/graphics/damage_boundary_edition.h
    src/graphics/boundary_line.h src/graphics/boundary_line.cpp
)
list(APPEND KELVANE_TAGS_SOURCES
    src/graphics/damage_boundary_tags.cpp
    src/graphics/boundary_line_tags.cpp
)

# Scan line
list(APPEND KELVANE_COMMON_SOURCES
    src/graphics/scan_line.h src/graphics/scan_line.cpp
)

# Tags, tag editor, equipment layer, path editor (edition with tags)
list(APPEND KELVANE_TAGS_SOURCES
    src/graphics/pixmap_tag.h src/graphics/pixmap_tag.cpp
    src/graphics/team_tag.h src/graphics/team_tag.cpp
    src/graphics/equipment_tag.h src/graphics/equipment_tag.cpp
    src/graphics/tag_editor.h src/graphics/tag_editor.cpp
    src/graphics/equipment_layer.h src/graphics/equipment_layer.cpp
    src/graphics/path_editor.h src/graphics/path_editor.cpp
    src/graphics/graphic_edit_factory.h src/graphics/graphic_edit_factory.cpp
)
