# Maintenance editing (maintenance edition only).
list(APPEND KELVANE_MAINTENANCE_SOURCES
    src/maintenance/maintenance_command_state.h
    src/maintenance/maintenance_command.h src/maintenance/maintenance_command.cpp
    src/maintenance/position_icon_graphic.h src/maintenance/position_icon_graphic.cpp
    src/maintenance/region_path_graphic.h src/maintenance/region_path_graphic.cpp
    src/maintenance/damage_boundary_layer.h src/maintenance/damage_boundary_layer.cpp
    src/maintenance/equipment_classifier_maintenance.cpp
)
