# Installs the build into a fresh prefix and checks that a desktop finds the program there: the
# executables, the application menu entry, and the icon that the entry names.
if(NOT BUILD_DIR OR NOT PREFIX)
    message(FATAL_ERROR "usage: cmake -DBUILD_DIR=... -DPREFIX=... -P installcheck.cmake")
endif()
file(REMOVE_RECURSE "${PREFIX}")
execute_process(
    COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(entry "${PREFIX}/share/applications/kelsing-schedule.desktop")
foreach(path
        "${PREFIX}/bin/kelsing-schedule"
        "${PREFIX}/bin/kelsing-shifts"
        "${entry}"
        "${PREFIX}/share/icons/hicolor/scalable/apps/kelsing-schedule.svg")
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

file(STRINGS "${entry}" lines)
set(group "")
foreach(line IN LISTS lines)
    if(line MATCHES "^\\[(.*)\\]$")
        set(group "${CMAKE_MATCH_1}")
    elseif(group STREQUAL "Desktop Entry" AND line MATCHES "^([A-Za-z]+)=(.*)$")
        set("key_${CMAKE_MATCH_1}" "${CMAKE_MATCH_2}")
    endif()
endforeach()
if(NOT key_Type STREQUAL "Application")
    message(FATAL_ERROR "the entry is not an application: '${key_Type}'")
endif()
if(NOT key_Name STREQUAL "Kelsing Shift Workers Schedule")
    message(FATAL_ERROR "the entry's name is '${key_Name}'")
endif()
string(REGEX REPLACE " .*" "" command "${key_Exec}")
if(NOT EXISTS "${PREFIX}/bin/${command}")
    message(FATAL_ERROR "the entry runs '${command}', which is not installed")
endif()
if(NOT EXISTS "${PREFIX}/share/icons/hicolor/scalable/apps/${key_Icon}.svg")
    message(FATAL_ERROR "the entry's icon '${key_Icon}' is not installed")
endif()
if(NOT key_Categories MATCHES "^([A-Za-z-]+;)+$")
    message(FATAL_ERROR "the entry's categories are malformed: '${key_Categories}'")
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${entry}" RESULT_VARIABLE valid)
    if(NOT valid EQUAL 0)
        message(FATAL_ERROR "desktop-file-validate rejects the entry")
    endif()
endif()
