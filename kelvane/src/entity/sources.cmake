list(APPEND KELVANE_COMMON_SOURCES
    src/entity/view_group.h src/entity/view_group.cpp
)
