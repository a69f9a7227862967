# Installs the three libraries with their headers, the CMake package
# (find_package(Kelvane)), the pkg-config files, the programs and, with the
# example programs, the sample ship they open by default.
#
# Components, one Debian package each (cmake/KelvanePackaging.cmake): runtime
# (the libraries and their translations), development (headers, CMake package,
# pkg-config files), applications (station, maintainer, sample ship, desktop
# files, icons) and dataserver (the reference data server and its systemd unit).
#
# Both editions share one header tree, include/kelvane: a host compiles only
# what its edition declares, the maintenance edition's definition says which.
#
# A Qt 6 build names its folders, libraries and .pc files with a 6
# (cmake/KelvaneQt.cmake), so the two builds install into one prefix side by side.
include(CMakePackageConfigHelpers)

set(KELVANE_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/Kelvane${KELVANE_QT_SUFFIX}")
set(KELVANE_INSTALL_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}/kelvane${KELVANE_QT_SUFFIX}")
set(TAVIMOR_INSTALL_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}/Tavimor${KELVANE_QT_SUFFIX}")

# The package and the .pc files find everything relative to their own place,
# so the tree may be installed under any prefix (cmake --install --prefix).
foreach(dir CMAKE_INSTALL_LIBDIR CMAKE_INSTALL_INCLUDEDIR CMAKE_INSTALL_BINDIR CMAKE_INSTALL_DATADIR)
    if(IS_ABSOLUTE "${${dir}}")
        message(FATAL_ERROR "${dir} must be relative to the install prefix, not ${${dir}}")
    endif()
endforeach()

install(TARGETS kelvaned kelvane
    EXPORT KelvaneTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
    INCLUDES DESTINATION ${KELVANE_INSTALL_INCLUDEDIR})
install(TARGETS Tavimor
    EXPORT KelvaneTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
    INCLUDES DESTINATION ${TAVIMOR_INSTALL_INCLUDEDIR})

# Every header of kelvane/src is public except these, which only the library's own
# units include (edition hooks, link helpers, caches); hosts never see them.
set(KELVANE_INTERNAL_HEADERS
    kelvane_edition.h object_link.h
    config/icon_folder.h config/named_icon_list.h
    entity/entity_edition.h
    graphics/damage_boundary_edition.h graphics/hover_end.h
    graphics/sensor_graphic_edition.h graphics/sensor_label.h
    view/deck_drawing.h view/deck_view_complex_edition.h view/round_half_up.h)
set(kelvane_internal_patterns)
foreach(header IN LISTS KELVANE_INTERNAL_HEADERS)
    list(APPEND kelvane_internal_patterns PATTERN "${header}" EXCLUDE)
endforeach()
install(DIRECTORY "${PROJECT_SOURCE_DIR}/kelvane/src/"
    DESTINATION ${KELVANE_INSTALL_INCLUDEDIR}
    COMPONENT development
    FILES_MATCHING PATTERN "*.h" ${kelvane_internal_patterns})
install(FILES
    "${PROJECT_SOURCE_DIR}/lua/lua_facade.h"
    "${KELVANE_GENERATED_INCLUDE_DIR}/kelvane_export.h"
    DESTINATION ${KELVANE_INSTALL_INCLUDEDIR}
    COMPONENT development)
install(FILES
    "${PROJECT_SOURCE_DIR}/Tavimor/Tavimor.h"
    "${PROJECT_SOURCE_DIR}/Tavimor/tavimor_reader.h"
    "${PROJECT_SOURCE_DIR}/Tavimor/tavimor_record.h"
    "${PROJECT_SOURCE_DIR}/Tavimor/tavimor_tls.h"
    "${PROJECT_SOURCE_DIR}/Tavimorio/CIOType.h"
    "${PROJECT_SOURCE_DIR}/Tavimorio/value_types.h"
    "${KELVANE_GENERATED_INCLUDE_DIR}/tavimor_export.h"
    DESTINATION ${TAVIMOR_INSTALL_INCLUDEDIR}
    COMPONENT development)

install(EXPORT KelvaneTargets
    NAMESPACE Kelvane::
    DESTINATION ${KELVANE_INSTALL_CMAKEDIR}
    COMPONENT development)
configure_package_config_file(
    "${CMAKE_CURRENT_LIST_DIR}/KelvaneConfig.cmake.in"
    "${PROJECT_BINARY_DIR}/KelvaneConfig.cmake"
    INSTALL_DESTINATION ${KELVANE_INSTALL_CMAKEDIR}
    PATH_VARS KELVANE_INSTALL_TRANSLATIONSDIR)
# The version file also turns this build down for a host on the other Qt major.
configure_file("${CMAKE_CURRENT_LIST_DIR}/KelvaneConfigVersion.cmake.in"
    "${PROJECT_BINARY_DIR}/KelvaneConfigVersion.cmake" @ONLY)
install(FILES
    "${PROJECT_BINARY_DIR}/KelvaneConfig.cmake"
    "${PROJECT_BINARY_DIR}/KelvaneConfigVersion.cmake"
    DESTINATION ${KELVANE_INSTALL_CMAKEDIR}
    COMPONENT development)

set(KELVANE_PC_TEMPLATE "${CMAKE_CURRENT_LIST_DIR}/kelvane.pc.in")

# kelvane_install_pc(<library target> <include subdir> "<Requires>" [<extra Cflags>])
# The .pc file is named as the library file: kelvaned.pc, or kelvaned6.pc for Qt 6.
function(kelvane_install_pc library include_subdir requires)
    file(RELATIVE_PATH PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
    string(REGEX REPLACE "/$" "" PC_TO_PREFIX "${PC_TO_PREFIX}")
    get_target_property(PC_NAME ${library} OUTPUT_NAME)
    set(PC_INCLUDE_SUBDIR ${include_subdir})
    set(PC_REQUIRES "${requires}")
    set(PC_EXTRA_CFLAGS "${ARGN}")
    configure_file("${KELVANE_PC_TEMPLATE}"
        "${PROJECT_BINARY_DIR}/pkgconfig/${PC_NAME}.pc" @ONLY)
    install(FILES "${PROJECT_BINARY_DIR}/pkgconfig/${PC_NAME}.pc"
        DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
        COMPONENT development)
endfunction()

set(qt_core "${KELVANE_QT}Core >= ${KELVANE_QT_MIN_VERSION}")
set(qt_display "${qt_core}")
set(display_qt_libraries Qt::Gui Qt::Widgets ${KELVANE_QT_SVG_ITEM})
foreach(library IN LISTS display_qt_libraries)
    string(REPLACE "Qt::" ", ${KELVANE_QT}" module "${library}")
    string(APPEND qt_display "${module}")
endforeach()
kelvane_install_pc(kelvaned kelvane${KELVANE_QT_SUFFIX} "${qt_display}")
kelvane_install_pc(kelvane kelvane${KELVANE_QT_SUFFIX} "${qt_display}" -DKELVANE_MAINTENANCE)
kelvane_install_pc(Tavimor Tavimor${KELVANE_QT_SUFFIX} "${qt_core}, ${KELVANE_QT}Network")

install(TARGETS tavimor-dataserver RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT dataserver)
foreach(program kelvane-station kelvane-station-admin kelvane-maintainer)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT applications)
    endif()
endforeach()

# The installed station and maintainer open this copy (see apps/common/example_data.h);
# the generator of the sample is a tool of this tree, not part of the sample.
if(TARGET kelvane-station OR TARGET kelvane-maintainer)
    install(DIRECTORY "${PROJECT_SOURCE_DIR}/examples/ship/"
        DESTINATION ${KELVANE_INSTALL_SHIPDIR}
        COMPONENT applications
        PATTERN "generate_ship.py" EXCLUDE)
endif()
