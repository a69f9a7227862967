# Debian packages from CPack: `cpack -G DEB` in a build directory gives
#   libkelvane1         the libraries and their translations (component runtime)
#   libkelvane-dev      headers, CMake package, pkg-config files (development)
#   kelvane-apps        station, maintainer, sample ship, desktop files, icons (applications)
#   tavimor-dataserver  the reference data server and its systemd unit (dataserver)
# Configure with -DCMAKE_INSTALL_PREFIX=/usr so the libraries land in Debian's
# multiarch folder. Shared-library dependencies (Qt 5, Lua 5.3, ...) come from
# dpkg-shlibdeps; the packages' dependencies on each other are exact versions.

# The installed desktop entries, icons and unit.
set(kelvane_packaging_dir "${PROJECT_SOURCE_DIR}/packaging")
if(TARGET kelvane-station OR TARGET kelvane-maintainer)
    foreach(program kelvane-station kelvane-maintainer)
        if(TARGET ${program})
            install(FILES "${kelvane_packaging_dir}/${program}.desktop"
                DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT applications)
            install(FILES "${kelvane_packaging_dir}/${program}.svg"
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT applications)
        endif()
    endforeach()
endif()
set(KELVANE_DATASERVER_PATH "${CMAKE_INSTALL_FULL_BINDIR}/tavimor-dataserver")
configure_file("${kelvane_packaging_dir}/tavimor-dataserver.service"
    "${PROJECT_BINARY_DIR}/packaging/tavimor-dataserver.service" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/packaging/tavimor-dataserver.service"
    DESTINATION lib/systemd/system COMPONENT dataserver)

set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VENDOR "Kelvane")
set(CPACK_PACKAGE_CONTACT "Kelvane maintainers <kelvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development dataserver)
if(TARGET kelvane-station OR TARGET kelvane-maintainer)
    list(APPEND CPACK_COMPONENTS_ALL applications)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The programs' own libraries are found where they were built; the dependency
# on their package comes from the component dependencies.
get_target_property(kelvane_library_dir kelvaned BINARY_DIR)
get_target_property(tavimor_library_dir Tavimor BINARY_DIR)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${kelvane_library_dir}" "${tavimor_library_dir}")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

# The Qt 6 build's library packages are libkelvane6-1 and libkelvane6-dev, which
# install beside the Qt 5 build's; its applications replace the Qt 5 ones.
if(KELVANE_QT_MAJOR_VERSION STREQUAL "5")
    set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libkelvane1)
    set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libkelvane-dev)
    set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
        "qtbase5-dev (>= 5.15), libqt5svg5-dev (>= 5.15), liblua5.3-dev, pkg-config")
    set(kelvane_sqlite_driver libqt5sql5-sqlite)
    set(kelvane_qt_translations qttranslations5-l10n)
    set(kelvane_multimedia_backend "libqt5multimedia5-plugins, ")
else()
    set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libkelvane6-1)
    set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libkelvane6-dev)
    set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
        "qt6-base-dev (>= 6.4), qt6-svg-dev (>= 6.4), qt6-5compat-dev (>= 6.4), liblua5.3-dev, pkg-config")
    set(kelvane_sqlite_driver libqt6sql6-sqlite)
    set(kelvane_qt_translations qt6-translations-l10n)
    # Qt 6's multimedia back ends come with its library package.
    set(kelvane_multimedia_backend "")
    set(CPACK_DEBIAN_APPLICATIONS_PACKAGE_CONFLICTS kelvane-apps)
endif()
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_APPLICATIONS_PACKAGE_NAME kelvane${KELVANE_QT_SUFFIX}-apps)
# Plugins and files no linker sees: the history's SQLite driver and Qt's own
# translations (the standard buttons in the console's language); the alarm
# sound's multimedia back end and a CJK font for the Chinese texts are recommended.
set(CPACK_DEBIAN_APPLICATIONS_PACKAGE_DEPENDS "${kelvane_sqlite_driver}, ${kelvane_qt_translations}")
set(CPACK_DEBIAN_APPLICATIONS_PACKAGE_RECOMMENDS "${kelvane_multimedia_backend}fonts-wqy-microhei")
set(CPACK_DEBIAN_DATASERVER_PACKAGE_NAME tavimor-dataserver)
set(CPACK_DEBIAN_DATASERVER_PACKAGE_SECTION net)

include(CPack)
cpack_add_component(runtime DISPLAY_NAME "Libraries" DESCRIPTION "kelvaned, kelvane and Tavimor")
cpack_add_component(development DISPLAY_NAME "Development files" DEPENDS runtime)
cpack_add_component(applications DISPLAY_NAME "Station and maintainer" DEPENDS runtime)
cpack_add_component(dataserver DISPLAY_NAME "Reference data server")
