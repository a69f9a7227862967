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
# headers, where declarations and moc need it. There a class gathers what only one
# edition has into one fenced block, so a header needs one fence. The damage
# boundary needs a second: its base class differs, and a fence inside the class
# cannot change that.
file(GLOB_RECURSE units "${SOURCE_ROOT}/*.cpp" "${SOURCE_ROOT}/*.h")
foreach(unit IN LISTS units)
    file(STRINGS "${unit}" fences REGEX "^[ \t]*#[ \t]*(if|ifdef|ifndef|elif).*KELVANE_MAINTENANCE")
    list(LENGTH fences count)
    file(RELATIVE_PATH shown "${SOURCE_ROOT}" "${unit}")
    if(shown MATCHES "\\.cpp$")
        set(allowed 0)
    elseif(shown STREQUAL "graphics/damage_boundary.h")
        set(allowed 2)
    else()
        set(allowed 1)
    endif()
    if(count GREATER allowed)
        string(APPEND failures "\n  ${shown} has ${count} edition fences, at most ${allowed} allowed")
    endif()
endforeach()

if(failures)
    message(FATAL_ERROR "The library's layering is broken:${failures}\nSee docs/architecture.md.")
endif()
