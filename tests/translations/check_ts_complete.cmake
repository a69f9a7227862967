# cmake -D LUPDATE=<lupdate> -D SOURCE_LIST=<lupdate list file> -D TS_FILE=<committed .ts>
#       -D WORK_DIR=<scratch folder> -D LUPDATE_TARGET=<target refreshing the .ts>
#       -P check_ts_complete.cmake
#
# Refreshes a copy of the committed .ts from the sources as LUPDATE_TARGET
# would; a text the copy then lacks a translation for fails the check.

file(REMOVE_RECURSE "${WORK_DIR}")
get_filename_component(ts_name "${TS_FILE}" NAME)
set(fresh "${WORK_DIR}/${ts_name}")
file(COPY "${TS_FILE}" DESTINATION "${WORK_DIR}")

execute_process(
    COMMAND "${LUPDATE}" -recursive -no-obsolete -locations none -source-language zh_CN "@${SOURCE_LIST}" -ts "${fresh}"
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed (${status}):\n${output}")
endif()

file(READ "${fresh}" ts)
string(REGEX MATCHALL "<source>[^<]*</source>[ \r\n]*<translation type=\"unfinished\">" untranslated "${ts}")
if(untranslated)
    set(texts "")
    foreach(entry IN LISTS untranslated)
        string(REGEX REPLACE "<source>([^<]*)</source>.*" "\\1" text "${entry}")
        string(APPEND texts "  ${text}\n")
    endforeach()
    message(FATAL_ERROR "Texts without an English translation in ${ts_name} "
        "(build ${LUPDATE_TARGET}, translate them, commit the .ts):\n${texts}")
endif()
