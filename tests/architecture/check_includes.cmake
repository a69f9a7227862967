# Fails when a library unit includes a folder that its folder must not depend on.
# The folders form layers: the model (entity/) knows nothing of configuration or
# pictures, configuration nothing of pictures, and the shared graphics nothing of
# the maintenance edition, whose own units build on them.
#   cmake -D SOURCE_ROOT=<kelvane/src> -D APPS_ROOT=<apps> -P check_includes.cmake
cmake_policy(SET CMP0057 NEW) # if(... IN_LIST ...)

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

# The station's core is a library without widgets: it includes no Qt Widgets
# header, no header of the display library (which links Widgets) and nothing of
# the station's window. Its window reaches the wire only through the core: the
# client and the wire structures stay out of ui/.
set(display_library_folders entity/ graphics/ view/ config/ maintenance/ gedit/)
set(widget_headers "^(QtWidgets/|QtCharts/|QtSvg/|QtPrintSupport/)|^Q(Widget|MainWindow|Application|Action|Menu|MenuBar|ToolBar|StatusBar|Splitter|DockWidget|Label|PushButton|AbstractButton|CheckBox|ComboBox|LineEdit|PlainTextEdit|TextEdit|SpinBox|TreeView|TableView|ListView|TreeWidget|TableWidget|ListWidget|AbstractItemView|HeaderView|ScrollArea|Frame|Style|[A-Za-z]*Dialog|Graphics[A-Za-z]*|[A-Za-z]*Layout|Chart[A-Za-z]*|[A-Za-z]*Series|[A-Za-z]*Axis|SoundEffect|Printer)$")
set(wire_headers Tavimor.h CIOType.h)
if(APPS_ROOT)
    file(GLOB ui_headers RELATIVE "${APPS_ROOT}/station/ui" "${APPS_ROOT}/station/ui/*.h")
    file(GLOB_RECURSE units "${APPS_ROOT}/station/core/*.h" "${APPS_ROOT}/station/core/*.cpp")
    foreach(unit IN LISTS units)
        file(RELATIVE_PATH shown "${APPS_ROOT}" "${unit}")
        file(STRINGS "${unit}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+[\"<]")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+[\"<]([^\">]+)[\">].*" "\\1" target "${line}")
            set(bad FALSE)
            if(target MATCHES "${widget_headers}" OR target IN_LIST ui_headers)
                set(bad TRUE)
            endif()
            foreach(prefix IN LISTS display_library_folders)
                string(FIND "${target}" "${prefix}" at)
                if(at EQUAL 0)
                    set(bad TRUE)
                endif()
            endforeach()
            if(bad)
                string(APPEND failures "\n  ${shown} includes ${target}")
            endif()
        endforeach()
    endforeach()
    file(GLOB_RECURSE units "${APPS_ROOT}/station/ui/*.h" "${APPS_ROOT}/station/ui/*.cpp")
    foreach(unit IN LISTS units)
        file(RELATIVE_PATH shown "${APPS_ROOT}" "${unit}")
        file(STRINGS "${unit}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+[\"<]")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+[\"<]([^\">]+)[\">].*" "\\1" target "${line}")
            get_filename_component(name "${target}" NAME)
            if(name IN_LIST wire_headers)
                string(APPEND failures "\n  ${shown} includes ${target}")
            endif()
        endforeach()
    endforeach()
endif()

if(failures)
    message(FATAL_ERROR "The layering is broken:${failures}\nSee docs/architecture.md.")
endif()
