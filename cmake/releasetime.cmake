# SPDX-License-Identifier: GPL-3.0-or-later
# The moment this version was released, from its entry in the package's change log
# (resources/debian/changelog.in): KELSING_RELEASE_TIME, in seconds since 1970-01-01 UTC. What
# the programs publish is stamped with it instead of the clock, so that the same version writes
# the same files on any day.

set(changelog ${PROJECT_SOURCE_DIR}/resources/debian/changelog.in)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
file(STRINGS ${changelog} changelog_lines)

# The trailer line of this version's entry: " -- NAME <MAIL>  Wed, 09 Dec 2026 00:00:00 +0000".
set(in_entry FALSE)
set(trailer "")
foreach(line IN LISTS changelog_lines)
    if(line MATCHES "^[a-z].* \\(([^)]*)\\)")
        set(in_entry FALSE)
        if(CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
            set(in_entry TRUE)
        endif()
    elseif(in_entry AND line MATCHES "^ -- ")
        set(trailer "${line}")
        break()
    endif()
endforeach()
set(date_pattern "([0-9]?[0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
string(APPEND date_pattern "([0-9][0-9]):([0-9][0-9]):([0-9][0-9]) ([+-])([0-9][0-9])([0-9][0-9])$")
if(NOT trailer MATCHES "${date_pattern}")
    message(FATAL_ERROR "${changelog} has no dated entry for version ${PROJECT_VERSION}")
endif()
set(fields day=${CMAKE_MATCH_1} month_name=${CMAKE_MATCH_2} year=${CMAKE_MATCH_3}
    hour=${CMAKE_MATCH_4} minute=${CMAKE_MATCH_5} second=${CMAKE_MATCH_6} zone_sign=${CMAKE_MATCH_7}
    zone_hours=${CMAKE_MATCH_8} zone_minutes=${CMAKE_MATCH_9})
foreach(field IN LISTS fields)
    string(REPLACE "=" ";" field ${field})
    list(GET field 0 name)
    list(GET field 1 value)
    # Without leading zeros, as plain numbers for math().
    string(REGEX REPLACE "^0+([0-9])" "\\1" ${name} "${value}")
endforeach()
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${month_name} month)
math(EXPR month "${month} + 1")

# Days from 1970-01-01 to the date in the proleptic Gregorian calendar, with years counted from
# March so that the leap day ends a year.
if(month LESS_EQUAL 2)
    math(EXPR year "${year} - 1")
    math(EXPR month_from_march "${month} + 9")
else()
    math(EXPR month_from_march "${month} - 3")
endif()
math(EXPR era "${year} / 400")
math(EXPR year_of_era "${year} - ${era} * 400")
math(EXPR day_of_year "(153 * ${month_from_march} + 2) / 5 + ${day} - 1")
math(EXPR day_of_era
    "${year_of_era} * 365 + ${year_of_era} / 4 - ${year_of_era} / 100 + ${day_of_year}")
math(EXPR days "${era} * 146097 + ${day_of_era} - 719468")
# The change log gives local time and its offset from UTC.
math(EXPR zone_offset "${zone_hours} * 3600 + ${zone_minutes} * 60")
math(EXPR KELSING_RELEASE_TIME
    "${days} * 86400 + ${hour} * 3600 + ${minute} * 60 + ${second} ${zone_sign} (0 - ${zone_offset})")
