# Maintenance editing (maintenance edition only).
list(APPEND KELVANE_MAINTENANCE_SOURCES
    src/maintenance/maintenance_command_state.h
    src/maintenance/maintenance_command.h src/maintenance/maintenance_command.cpp
    src/maintenance/position_icon_graphic.h src/maintenance/position_icon_graphic.cpp
    src/maintenance/region_path_graphic.h src/maintenance/region_path_graphic.cpp
    src/maintenance/damage_boundary_layer.h src/maintenance/damage_boundary_layer.cpp
    src/maintenance/meta_types_maintenance.cpp
)

# The maintenance edition's members and steps of units shared with kelvaned.
list(APPEND KELVANE_MAINTENANCE_SOURCES
    src/maintenance/sensor_maintenance.cpp
    src/maintenance/region_maintenance.cpp
    src/maintenance/deck_maintenance.cpp
    src/maintenance/equipment_classifier_maintenance.cpp
    src/maintenance/region_config_maintenance.cpp
    src/maintenance/sensor_config_maintenance.cpp
    src/maintenance/damage_boundary_maintenance.cpp
    src/maintenance/boundary_line_maintenance.cpp
    src/maintenance/sensor_graphic_maintenance.cpp
    src/maintenance/deck_view_complex_maintenance.cpp
)
