# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the project's scripts: the Debian packages it needs and how it is built.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR="$ROOT/build"

# What a fresh Debian 12 machine lacks to build, test and run the program.
PACKAGES=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev libical-dev
    qt6-base-dev qt6-svg-dev qt6-image-formats-plugins libgl-dev
    libxcb1-dev # the start-up benchmark sees the X server map the window
    fonts-dejavu-core fonts-liberation
    openssl
    # The store of own days: the library, and SQLite's own shell that the tests check it with.
    libsqlite3-dev sqlite3
    poppler-utils # the printing tests read the printed PDF with pdftotext and pdftoppm
    # Printing: the CUPS client library the window speaks to, and the real print system that the
    # printing tests start on their own with a cups-pdf queue (cupsd, lpadmin, cupsreject...).
    libcups2-dev cups cups-bsd printer-driver-cups-pdf
    xdg-utils # the web site opens with xdg-open, whose failure the window tells
    # The crews' feeds: their QR codes (libqrencode), read back by zbarimg in the tests, and
    # a real web server that serves them to curl, with tidy to check their page.
    libqrencode-dev zbar-tools nginx-light curl tidy
    faketime # the feeds written again on another day, by a clock of the test's own
    # The chooser's tests on real desktops: Wayland (weston in Xvfb, Qt's Wayland platform)...
    weston
    qt6-wayland
    xvfb
    # ... and X11 with a window manager, driven by xdotool and read with xprop and xwininfo.
    openbox
    xdotool
    # The window as a screen reader hears it: a session bus, the accessibility bus and AT-SPI's
    # Python bindings.
    dbus-daemon
    at-spi2-core
    python3-pyatspi
    # The package and its checks: the icons' bitmaps, cpack's dependency list, lintian, the
    # validators of the desktop entry, the AppStream file and the manual pages, and a virtual X
    # screen for the window's class.
    librsvg2-bin
    dpkg-dev
    lintian
    desktop-file-utils
    appstream
    man-db
    groff-base
    xauth
    x11-utils
)

# The fuzzers are built with clang and its libFuzzer runtime.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

# Installs those of the given packages that are not installed yet (sudo when not root).
install_missing() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# Configures (once) and builds the tree of a preset of CMakePresets.json in its folder; further
# arguments go to the first configuration.
build_preset() {
    local preset=$1 folder=$2
    shift 2
    if [ ! -f "$folder/CMakeCache.txt" ]; then
        cmake --preset "$preset" "$@"
    fi
    cmake --build --preset "$preset" --parallel
}

# Configures (once) and builds the Release tree in build/.
build_project() {
    build_preset release "$BUILD_DIR" "$@"
}
