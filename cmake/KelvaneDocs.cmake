# `docs`: the API reference in HTML, from the public headers' Doxygen comments,
# once per edition (the fenced members differ): docs/kelvaned/html and
# docs/kelvane/html. Only there when Doxygen is installed; never part of the
# default build. Each run writes its complaints (undocumented members, broken
# commands) to doxygen-<edition>.log, which the `docs_complete` test reads.
find_package(Doxygen QUIET)
if(NOT DOXYGEN_FOUND)
    return()
endif()

set(KELVANE_DOXYGEN_INPUT
    "${PROJECT_SOURCE_DIR}/docs/api/mainpage.dox"
    "${PROJECT_SOURCE_DIR}/kelvane/src"
    "${PROJECT_SOURCE_DIR}/lua/lua_facade.h"
    "${PROJECT_SOURCE_DIR}/Tavimor/Tavimor.h"
    "${PROJECT_SOURCE_DIR}/Tavimor/tavimor_tls.h"
    "${PROJECT_SOURCE_DIR}/Tavimorio/CIOType.h"
    "${KELVANE_GENERATED_INCLUDE_DIR}")
list(JOIN KELVANE_DOXYGEN_INPUT " \\\n    " KELVANE_DOXYGEN_INPUT)

set(KELVANE_DOXYGEN_COMMANDS)
foreach(edition kelvaned kelvane)
    set(KELVANE_DOXYGEN_EDITION ${edition})
    set(KELVANE_DOXYGEN_OUTPUT "${PROJECT_BINARY_DIR}/docs/${edition}")
    set(KELVANE_DOXYGEN_LOG "${PROJECT_BINARY_DIR}/doxygen-${edition}.log")
    if(edition STREQUAL "kelvane")
        set(KELVANE_DOXYGEN_EDITION_MACROS "KELVANE_MAINTENANCE")
    else()
        set(KELVANE_DOXYGEN_EDITION_MACROS "")
    endif()
    configure_file("${CMAKE_CURRENT_LIST_DIR}/Doxyfile.in"
                   "${PROJECT_BINARY_DIR}/Doxyfile-${edition}" @ONLY)
    list(APPEND KELVANE_DOXYGEN_COMMANDS
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${KELVANE_DOXYGEN_OUTPUT}"
        COMMAND Doxygen::doxygen "${PROJECT_BINARY_DIR}/Doxyfile-${edition}")
endforeach()

add_custom_target(docs
    ${KELVANE_DOXYGEN_COMMANDS}
    WORKING_DIRECTORY "${PROJECT_BINARY_DIR}"
    COMMENT "API reference in ${PROJECT_BINARY_DIR}/docs/<edition>/html"
    VERBATIM)
