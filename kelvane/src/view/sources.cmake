# Deck scene, deck views and alarm animations.
list(APPEND KELVANE_COMMON_SOURCES
    src/view/deck_drawing.h src/view/deck_drawing.cpp
    src/view/deck_scene.h src/view/deck_scene.cpp
    src/view/deck_view.h src/view/deck_view.cpp
    src/view/deck_view_complex.h src/view/deck_view_complex.cpp
    src/view/deck_view_complex_edition.h
    src/view/round_half_up.h
    src/view/scanline_strip.h src/view/scanline_strip.cpp
    src/view/zoom_preview.h src/view/zoom_preview.cpp
)

# The views' and the scene's members that only the edition with tags has
list(APPEND KELVANE_TAGS_SOURCES
    src/view/deck_scene_tags.cpp
    src/view/deck_view_tags.cpp
    src/view/deck_view_complex_tags.cpp
)

# Alarm animations (edition with tags)
list(APPEND KELVANE_TAGS_SOURCES
    src/view/alarm_animation.h src/view/alarm_animation.cpp
    src/view/opacity_animation.h src/view/opacity_animation.cpp
    src/view/blink_animation.h src/view/blink_animation.cpp
    src/view/blink_clock.h src/view/blink_clock.cpp
)
