# Configuration: style singletons of both editions and the catalogues of the edition with tags.
list(APPEND KELVANE_COMMON_SOURCES
    src/config/icon_folder.h src/config/icon_folder.cpp
    src/config/region_config.h src/config/region_config.cpp
    src/config/sensor_config.h src/config/sensor_config.cpp
    src/config/damage_config.h src/config/damage_config.cpp
)

list(APPEND KELVANE_TAGS_SOURCES
    src/config/region_config_tags.cpp
    src/config/sensor_config_tags.cpp
    src/config/named_icon_list.h
    src/config/team_config.h src/config/team_config.cpp
    src/config/tag_config.h src/config/tag_config.cpp
    src/config/equipment_config.h src/config/equipment_config.cpp
)
