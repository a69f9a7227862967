# Fails when a library unit includes a folder that its folder must not depend on.
# The folders form layers: the model (entity/) knows nothing of configuration or
# pictures, configuration nothing of pictures, and the shared graphics nothing of
# the maintenance edition, whose own units build on them.
#   cmake -D SOURCE_ROOT=<kelvane/src> -P check_includes.cmake
set(forbidden_entity config/ graphics/ view/ maintenance/)
set(forbidden_config graphics/ view/ maintenance/)
set(forbidden_graphics maintenance/)
set(forbidden_view)

set(failures "")
foreach(folder entity config graphics view)
    file(GLOB_RECURSE units "${SOURCE_ROOT}/${folder}/*.h" "${SOURCE_ROOT}/${folder}/*.cpp")
    foreach(unit IN LISTS units)
        file(STRINGS "${unit}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*" "\\1" target "${line}")
            foreach(prefix IN LISTS forbidden_${folder})
                string(FIND "${target}" "${prefix}" at)
                if(at EQUAL 0)
                    file(RELATIVE_PATH shown "${SOURCE_ROOT}" "${unit}")
                    string(APPEND failures "\n  ${shown} includes ${target}")
                endif()
            endforeach()
        endforeach()
    endforeach()
endforeach()

# Edition differences in source units are written with if constexpr on
# kelvane::kMaintenanceEdition or as edition units; the preprocessor fence is for
# headers, where declarations and moc need it.
file(GLOB_RECURSE sources "${SOURCE_ROOT}/*.cpp")
foreach(unit IN LISTS sources)
    file(STRINGS "${unit}" fences REGEX "^[ \t]*#[ \t]*(if|ifdef|ifndef|elif).*KELVANE_MAINTENANCE")
    if(fences)
        file(RELATIVE_PATH shown "${SOURCE_ROOT}" "${unit}")
        string(APPEND failures "\n  ${shown} fences the edition with the preprocessor")
    endif()
endforeach()

if(failures)
    message(FATAL_ERROR "The library's layering is broken:${failures}\nSee docs/architecture.md.")
endif()
