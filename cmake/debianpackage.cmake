# SPDX-License-Identifier: GPL-3.0-or-later
# `cpack -G DEB` in the build folder makes the Debian package of both programs, with what
# `cmake --install` installs, under /usr.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelsing-schedule)
set(CPACK_PACKAGE_VENDOR "The Kelsing Shift Workers Schedule author")
set(CPACK_PACKAGE_CONTACT "The Kelsing Shift Workers Schedule author <${KELSING_AUTHOR_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shift calendar of the Kelsing area plant sites")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop calendar for the shift workers of the Kelsing area plant sites. Pick\n"
    "an employer and a crew, and the month sheet shows on which days the crew works\n"
    "and which shift, with the statutory holidays and the daylight-saving clock\n"
    "changes. Two crews can be shown side by side, and the sheet prints.\n"
    "\n"
    "The command-line tool kelsing-shifts answers the same questions in a terminal\n"
    "or a script, exports a crew's shifts as an iCalendar file and writes every\n"
    "crew's calendar as a feed for a web server, for phones to subscribe to.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KELSING_SITE_HOST}/kelsing_schedule/")
# The library packages that the programs link, worked out by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window finds its display through a platform plugin that the programs do not link: the X11
# one comes with Qt's GUI library, the Wayland one in a package of its own, without which a
# desktop that has Wayland alone cannot open the window.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)

include(CPack)
