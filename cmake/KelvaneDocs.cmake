# `docs`: the API reference in HTML, from the public headers' Doxygen comments.
# Only there when Doxygen is installed; never part of the default build.
find_package(Doxygen QUIET)
if(NOT DOXYGEN_FOUND)
    return()
endif()

set(KELVANE_DOXYGEN_OUTPUT "${PROJECT_BINARY_DIR}/docs")
set(KELVANE_DOXYGEN_INPUT
    "${PROJECT_SOURCE_DIR}/kelvane/src"
    "${PROJECT_SOURCE_DIR}/lua/lua_facade.h"
    "${PROJECT_SOURCE_DIR}/Tavimor/Tavimor.h"
    "${PROJECT_SOURCE_DIR}/Tavimorio/CIOType.h"
    "${KELVANE_GENERATED_INCLUDE_DIR}")
list(JOIN KELVANE_DOXYGEN_INPUT " \\\n    " KELVANE_DOXYGEN_INPUT)
configure_file("${CMAKE_CURRENT_LIST_DIR}/Doxyfile.in" "${PROJECT_BINARY_DIR}/Doxyfile" @ONLY)

add_custom_target(docs
    COMMAND Doxygen::doxygen "${PROJECT_BINARY_DIR}/Doxyfile"
    WORKING_DIRECTORY "${PROJECT_BINARY_DIR}"
    COMMENT "API reference in ${KELVANE_DOXYGEN_OUTPUT}/html"
    VERBATIM)
