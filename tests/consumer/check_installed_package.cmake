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
