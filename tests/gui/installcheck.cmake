# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a fresh prefix and checks that a desktop finds the program there: the
# executables, the application menu entry, the icons that the entry names, the AppStream
# metadata, and what man, bash and a package need beside them.
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
        "${PREFIX}/share/icons/hicolor/scalable/apps/kelsing-schedule.svg"
        "${PREFIX}/share/man/man1/kelsing-schedule.1.gz"
        "${PREFIX}/share/man/man1/kelsing-shifts.1.gz"
        "${PREFIX}/share/bash-completion/completions/kelsing-shifts"
        "${PREFIX}/share/doc/kelsing-schedule/copyright"
        "${PREFIX}/share/doc/kelsing-schedule/changelog.gz")
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

# The installed program loads its version check and printers from where the install put them,
# after its first frame; it warns when it cannot. Every request goes to a closed loopback port.
# Its messages are kept beside what it installed.
file(GLOB_RECURSE modules "${PREFIX}/*/kelsing-schedule-services.so")
if(NOT modules)
    message(FATAL_ERROR "not installed: the module of the version check and the printers")
endif()
execute_process(
    COMMAND sh "${CMAKE_CURRENT_LIST_DIR}/untilloaded.sh" "${PREFIX}/errors"
        env QT_QPA_PLATFORM=offscreen http_proxy=http://127.0.0.1:9
        https_proxy=http://127.0.0.1:9 no_proxy= "${PREFIX}/bin/kelsing-schedule"
    RESULT_VARIABLE result OUTPUT_VARIABLE said)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the installed program: ${said}")
endif()

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

# The bitmaps must be of the size of the folder they are in: the width and height of a PNG are
# the two big-endian words after its signature and the IHDR chunk's length and type.
foreach(size 48 128)
    set(png "${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${key_Icon}.png")
    if(NOT EXISTS "${png}")
        message(FATAL_ERROR "the entry's icon is not installed at ${size}x${size}")
    endif()
    file(READ "${png}" header OFFSET 16 LIMIT 8 HEX)
    math(EXPR hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REGEX REPLACE "^0x" "" hex "${hex}")
    string(LENGTH "${hex}" digits)
    math(EXPR pad "8 - ${digits}")
    string(REPEAT "0" ${pad} zeros)
    if(NOT header STREQUAL "${zeros}${hex}${zeros}${hex}")
        message(FATAL_ERROR "${png} is not ${size}x${size}: IHDR ${header}")
    endif()
endforeach()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${entry}" RESULT_VARIABLE valid)
if(NOT valid EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate rejects the entry")
endif()

file(GLOB metainfo "${PREFIX}/share/metainfo/*.metainfo.xml")
list(LENGTH metainfo count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one AppStream file, found: ${metainfo}")
endif()
file(READ "${metainfo}" text)
if(NOT text MATCHES "<launchable type=\"desktop-id\">kelsing-schedule.desktop</launchable>")
    message(FATAL_ERROR "${metainfo} does not launch the installed entry")
endif()
find_program(APPSTREAMCLI appstreamcli REQUIRED)
execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net "${metainfo}" RESULT_VARIABLE valid)
if(NOT valid EQUAL 0)
    message(FATAL_ERROR "appstreamcli rejects ${metainfo}")
endif()
