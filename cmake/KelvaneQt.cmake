# The Qt the toolkit is built against: Qt 5.15 (the default, and the 32-bit
# check) or Qt 6, chosen with -DKELVANE_QT_MAJOR_VERSION=6. The rest of the tree
# links the versionless Qt:: targets both provide and names the few modules
# that moved in Qt 6 through the lists below.
#
# A Qt 6 build gives its libraries, CMake package, pkg-config files, headers
# and translations names with a 6 (libkelvaned6.so, lib/cmake/Kelvane6,
# kelvaned6.pc, include/kelvane6, share/kelvane6), so it installs beside the
# Qt 5 build; find_package(Kelvane) takes the one that matches the host's Qt
# (cmake/KelvaneConfigVersion.cmake.in).
set(KELVANE_QT_MAJOR_VERSION 5 CACHE STRING "The Qt major version to build against: 5 or 6")
set_property(CACHE KELVANE_QT_MAJOR_VERSION PROPERTY STRINGS 5 6)

if(KELVANE_QT_MAJOR_VERSION STREQUAL "5")
    set(KELVANE_QT_MIN_VERSION 5.15)
    set(KELVANE_QT_SUFFIX "")
    set(kelvane_qt_moved_components)
    # QGraphicsSvgItem is part of Svg, QTextCodec of Core.
    set(KELVANE_QT_SVG_ITEM Qt::Svg)
    set(KELVANE_QT_TEXT_CODEC)
elseif(KELVANE_QT_MAJOR_VERSION STREQUAL "6")
    set(KELVANE_QT_MIN_VERSION 6.4)
    set(KELVANE_QT_SUFFIX 6)
    set(kelvane_qt_moved_components SvgWidgets Core5Compat)
    set(KELVANE_QT_SVG_ITEM Qt::Svg Qt::SvgWidgets)
    # The wire's GBK text.
    set(KELVANE_QT_TEXT_CODEC Qt::Core5Compat)
else()
    message(FATAL_ERROR "KELVANE_QT_MAJOR_VERSION is 5 or 6, not ${KELVANE_QT_MAJOR_VERSION}")
endif()
set(KELVANE_QT Qt${KELVANE_QT_MAJOR_VERSION})

# What the display libraries and the client need, and so what their package asks of a host.
set(KELVANE_QT_PUBLIC_COMPONENTS Core Gui Widgets Svg Network ${kelvane_qt_moved_components})
find_package(${KELVANE_QT} ${KELVANE_QT_MIN_VERSION} REQUIRED COMPONENTS ${KELVANE_QT_PUBLIC_COMPONENTS})

# kelvane_find_qt(<component>...): the modules only some parts need (Test, Sql, Charts, ...).
macro(kelvane_find_qt)
    find_package(${KELVANE_QT} ${KELVANE_QT_MIN_VERSION} REQUIRED COMPONENTS ${ARGN})
endmacro()
