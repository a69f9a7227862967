# Deck graphics. Each block lists the units of one area.

# Sensor graphics, sensor layer, reaction regions, region reaction layer
list(APPEND KELVANE_COMMON_SOURCES
)

# Damage boundaries
list(APPEND KELVANE_COMMON_SOURCES
)

# Scan line
list(APPEND KELVANE_COMMON_SOURCES
)

# Tags, tag editor, equipment layer, path editor (edition with tags)
list(APPEND KELVANE_TAGS_SOURCES
)
