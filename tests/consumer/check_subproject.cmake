# cmake -D KELVANE_SOURCE_DIR=<source tree> -D WORK_DIR=<scratch folder>
#       -D GENERATOR=<generator> -D CXX_COMPILER=<compiler> -D C_COMPILER=<compiler>
#       -D QT_MAJOR_VERSION=<5 or 6> -P check_subproject.cmake
#
# Configures the host in subproject/ around the source tree: by default the
# host's install holds its own program only; with KELVANE_INSTALL it holds the
# package as well, and both configurations generate without collisions.

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        string(REPLACE ";" " " command "${ARGN}")
        message(FATAL_ERROR "failed (${status}): ${command}")
    endif()
endfunction()

# configure_host(<build folder> [<cmake options>...])
function(configure_host build)
    run(${CMAKE_COMMAND} -S "${KELVANE_SOURCE_DIR}/tests/consumer/subproject" -B "${build}"
        -G "${GENERATOR}" -D CMAKE_CXX_COMPILER=${CXX_COMPILER} -D CMAKE_C_COMPILER=${C_COMPILER}
        -D KELVANE_SOURCE_DIR=${KELVANE_SOURCE_DIR} -D KELVANE_QT_MAJOR_VERSION=${QT_MAJOR_VERSION} ${ARGN})
endfunction()

# The install rules generated for Kelvane's folders of a host's build.
function(kelvane_install_rules build out)
    file(GLOB_RECURSE scripts "${build}/kelvane/cmake_install.cmake")
    set(rules "")
    foreach(script IN LISTS scripts)
        file(READ "${script}" text)
        string(APPEND rules "${text}")
    endforeach()
    set(${out} "${rules}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")

configure_host("${WORK_DIR}/plain")
kelvane_install_rules("${WORK_DIR}/plain" rules)
if(rules MATCHES "file\\(INSTALL")
    message(FATAL_ERROR "a host's add_subdirectory installs Kelvane's files without KELVANE_INSTALL")
endif()

configure_host("${WORK_DIR}/installing" -D KELVANE_INSTALL=ON)
kelvane_install_rules("${WORK_DIR}/installing" rules)
if(NOT rules MATCHES "KelvaneTargets" OR NOT rules MATCHES "kelvane_en\\.qm")
    message(FATAL_ERROR "KELVANE_INSTALL=ON in a host installs no Kelvane package or translations")
endif()
