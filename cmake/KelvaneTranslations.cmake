# kelvane_add_translations(<target> TS <file.ts> LUPDATE_TARGET <name> SOURCES <folders>...)
#
# A translation catalogue: <target> builds the .qm from the committed .ts with
# every build (and installs it with the package); <name> refreshes the .ts from
# the tr() texts of the folders, only on request, after which the new texts are
# translated by hand and committed. The .ts, the folder list lupdate reads and
# <name> are kept as properties of <target> (KELVANE_TS_FILE,
# KELVANE_LUPDATE_SOURCE_LIST, KELVANE_LUPDATE_TARGET) for the tests.
kelvane_find_qt(LinguistTools)

function(kelvane_add_translations target)
    cmake_parse_arguments(ARG "" "TS;LUPDATE_TARGET;COMPONENT" "SOURCES" ${ARGN})
    if(NOT ARG_COMPONENT)
        set(ARG_COMPONENT runtime)
    endif()
    if(KELVANE_QT_MAJOR_VERSION STREQUAL "5")
        qt5_add_translation(qm_file "${ARG_TS}")
    else()
        qt6_add_translation(qm_file "${ARG_TS}")
    endif()
    add_custom_target(${target} ALL DEPENDS ${qm_file})

    # One folder a line, as lupdate reads them from @file.
    set(source_list "${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.txt")
    list(JOIN ARG_SOURCES "\n" folders)
    file(WRITE "${source_list}" "${folders}\n")
    set_target_properties(${target} PROPERTIES
        KELVANE_TS_FILE "${ARG_TS}"
        KELVANE_LUPDATE_SOURCE_LIST "${source_list}"
        KELVANE_LUPDATE_TARGET ${ARG_LUPDATE_TARGET})

    # Without locations the .ts changes only when a text does.
    add_custom_target(${ARG_LUPDATE_TARGET}
        COMMAND ${KELVANE_QT}::lupdate -recursive -no-obsolete -locations none -source-language zh_CN
            "@${source_list}" -ts "${ARG_TS}"
        COMMENT "Refreshing ${ARG_TS} from the sources"
        VERBATIM)

    if(KELVANE_INSTALL)
        install(FILES ${qm_file} DESTINATION ${KELVANE_INSTALL_TRANSLATIONSDIR} COMPONENT ${ARG_COMPONENT})
    endif()
endfunction()
