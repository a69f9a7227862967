# cmake -D BUILD_DIR=<build tree> -D CONFIG=<config> -D WORK_DIR=<scratch folder>
#       -D HOST_SOURCE_DIR=<host project> -D GENERATOR=<generator>
#       -D CXX_COMPILER=<compiler> -D LIBDIR=<libdir below the prefix>
#       [-D CXX_FLAGS=<flags> -D EXE_LINKER_FLAGS=<flags>]
#       [-D TOOLCHAIN_FILE=<file> -D EMULATOR=<program>] [-D APPS=ON] [-D QT_MAJOR_VERSION=6]
#       -P check_installed_package.cmake
#
# Installs BUILD_DIR under WORK_DIR/prefix, builds the host against that prefix
# alone and runs each of its programs; with APPS, runs the installed
# station and maintainer from the prefix too. Any failing step fails the script.

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        string(REPLACE ";" " " command "${ARGN}")
        message(FATAL_ERROR "failed (${status}): ${command}")
    endif()
endfunction()

set(prefix "${WORK_DIR}/prefix")
set(host_build "${WORK_DIR}/host")
file(REMOVE_RECURSE "${WORK_DIR}")

set(config_args)
if(CONFIG)
    set(config_args --config ${CONFIG})
endif()
run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}" ${config_args})

# expect_suitable(<TRUE|FALSE> [<host variable> <value>]...): what the installed
# version file says of this build to a host with those variables. Where the Qt 5
# and the Qt 6 build are installed together, this is how a host gets its own.
if(NOT QT_MAJOR_VERSION)
    set(QT_MAJOR_VERSION 5)
endif()
if(QT_MAJOR_VERSION STREQUAL "6")
    set(other_qt 5)
    set(package_dir "${prefix}/${LIBDIR}/cmake/Kelvane6")
else()
    set(other_qt 6)
    set(package_dir "${prefix}/${LIBDIR}/cmake/Kelvane")
endif()
function(expect_suitable expected)
    set(PACKAGE_FIND_VERSION 1.0)
    set(PACKAGE_FIND_VERSION_MAJOR 1)
    set(PACKAGE_VERSION_UNSUITABLE FALSE)
    set(PACKAGE_VERSION_COMPATIBLE FALSE)
    set(host "${ARGN}")
    while(ARGN)
        list(POP_FRONT ARGN name value)
        set(${name} "${value}")
    endwhile()
    include("${package_dir}/KelvaneConfigVersion.cmake")
    if(PACKAGE_VERSION_COMPATIBLE AND NOT PACKAGE_VERSION_UNSUITABLE)
        set(suitable TRUE)
    else()
        set(suitable FALSE)
    endif()
    if(NOT suitable STREQUAL expected)
        message(FATAL_ERROR "the Qt ${QT_MAJOR_VERSION} package is suitable=${suitable} for a host with '${host}'")
    endif()
endfunction()
expect_suitable(TRUE KELVANE_QT_MAJOR_VERSION ${QT_MAJOR_VERSION})
expect_suitable(FALSE KELVANE_QT_MAJOR_VERSION ${other_qt})
expect_suitable(FALSE KELVANE_QT_MAJOR_VERSION ${other_qt} QT_VERSION_MAJOR ${QT_MAJOR_VERSION})
expect_suitable(TRUE QT_VERSION_MAJOR ${QT_MAJOR_VERSION} Qt${other_qt}Core_FOUND TRUE)
expect_suitable(TRUE Qt${QT_MAJOR_VERSION}Core_FOUND TRUE)
expect_suitable(FALSE Qt${other_qt}Core_FOUND TRUE)
# A host that has found no Qt, or both, gets the Qt 5 build.
set(default_build FALSE)
if(QT_MAJOR_VERSION STREQUAL "5")
    set(default_build TRUE)
endif()
expect_suitable(${default_build})
expect_suitable(${default_build} Qt5Core_FOUND TRUE Qt6Core_FOUND TRUE)

# The host sees the installed package and nothing of the source or build tree.
set(ENV{PKG_CONFIG_PATH} "${prefix}/${LIBDIR}/pkgconfig")
# A cross build hands its toolchain (which names the compiler) to the host.
if(TOOLCHAIN_FILE)
    set(compiler_args -D CMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE})
else()
    set(compiler_args -D CMAKE_CXX_COMPILER=${CXX_COMPILER})
endif()
# The build's own flags (a sanitizer's, say) go along: libraries built with
# them link only into programs built with them.
run(${CMAKE_COMMAND} -S "${HOST_SOURCE_DIR}" -B "${host_build}" -G "${GENERATOR}" ${compiler_args}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    "-DCMAKE_EXE_LINKER_FLAGS=${EXE_LINKER_FLAGS}"
    -D CMAKE_BUILD_TYPE=${CONFIG}
    -D HOST_QT_MAJOR_VERSION=${QT_MAJOR_VERSION}
    -D CMAKE_PREFIX_PATH=${prefix}
    -D CMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
run(${CMAKE_COMMAND} --build "${host_build}" ${config_args})

set(ENV{QT_QPA_PLATFORM} offscreen)
foreach(program host_kelvaned host_kelvane host_pkgconfig)
    run(${EMULATOR} "${host_build}/${program}")
endforeach()

if(APPS)
    # The programs print the prefix as the folder holding them resolves it.
    file(REAL_PATH "${prefix}" real_prefix)
    run(sh "${CMAKE_CURRENT_LIST_DIR}/run_installed_station.sh" "${real_prefix}" "${WORK_DIR}/station" ${EMULATOR})
endif()
