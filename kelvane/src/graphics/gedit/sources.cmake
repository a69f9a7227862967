# Outline drawer (edition with tags)
list(APPEND KELVANE_TAGS_SOURCES
    src/graphics/gedit/path_drawer.h src/graphics/gedit/path_drawer.cpp
)
