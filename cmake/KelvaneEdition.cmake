# Both display-library editions come from one source list: the common units plus
# the edition's own. The maintenance edition carries the PUBLIC definition
# KELVANE_MAINTENANCE so a host compiles the same headers the library was built with.
#
#   kelvane_add_edition(<target> [MAINTENANCE] SOURCES <edition-only units>)
function(kelvane_add_edition target)
    cmake_parse_arguments(ARG "MAINTENANCE" "" "SOURCES" ${ARGN})

    add_library(${target} SHARED ${KELVANE_COMMON_SOURCES} ${ARG_SOURCES})
    add_library(Kelvane::${target} ALIAS ${target})

    set_target_properties(${target} PROPERTIES
        AUTOMOC ON
        OUTPUT_NAME ${target}${KELVANE_QT_SUFFIX}
        DEFINE_SYMBOL KELVANE_BUILDING
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR})

    target_include_directories(${target} PUBLIC
        $<BUILD_INTERFACE:${KELVANE_SOURCE_ROOT}>
        $<BUILD_INTERFACE:${KELVANE_GENERATED_INCLUDE_DIR}>)
    target_link_libraries(${target}
        PUBLIC Qt::Core Qt::Gui Qt::Widgets ${KELVANE_QT_SVG_ITEM} $<BUILD_INTERFACE:ostrel_headers>
        PRIVATE $<BUILD_INTERFACE:ostrel>)
    if(ARG_MAINTENANCE)
        target_compile_definitions(${target} PUBLIC KELVANE_MAINTENANCE)
    endif()
    kelvane_set_warnings(${target})
endfunction()
