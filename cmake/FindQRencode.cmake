# SPDX-License-Identifier: GPL-3.0-or-later
# Finds libqrencode through pkg-config: QRencode_FOUND, QRencode_VERSION and the imported target
# QRencode::QRencode.

find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
    pkg_check_modules(PC_QRENCODE QUIET IMPORTED_TARGET GLOBAL libqrencode)
endif()
set(QRencode_VERSION ${PC_QRENCODE_VERSION})

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(QRencode
    REQUIRED_VARS PC_QRENCODE_LINK_LIBRARIES
    VERSION_VAR QRencode_VERSION)

if(QRencode_FOUND AND NOT TARGET QRencode::QRencode)
    add_library(QRencode::QRencode INTERFACE IMPORTED GLOBAL)
    target_link_libraries(QRencode::QRencode INTERFACE PkgConfig::PC_QRENCODE)
endif()
