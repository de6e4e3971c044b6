#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Opens the window on a virtual X screen and checks that the class of its WM_CLASS is the
# desktop entry's StartupWMClass, by which a dock ties the open window to the menu entry.
# Usage: windowclass.sh PROGRAM DESKTOP_ENTRY
set -eu
program=$1
entry=$2
for tool in xvfb-run xwininfo xprop; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (packages xvfb, x11-utils)"
        exit 77
    fi
done
expected=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$expected" ] || { echo "FAIL: $entry has no StartupWMClass"; exit 1; }

# The version check goes to a closed loopback port instead of the built-in host.
classes=$(http_proxy=http://127.0.0.1:9 https_proxy=http://127.0.0.1:9 \
    xvfb-run -a -s "-screen 0 800x600x24" sh -c '
    "$1" & app=$!
    for attempt in $(seq 600); do # bounds a hang at a minute; the window maps in a second
        found=$(for id in $(xwininfo -root -children | sed -n "s/^ *\(0x[0-9a-f]*\) .*/\1/p"); do
            xprop -id "$id" WM_CLASS | sed -n "s/^WM_CLASS(STRING) = //p"
        done)
        [ -n "$found" ] && break
        sleep 0.1
    done
    echo "$found"
    kill $app' sh "$program" 2>/dev/null)
echo "WM_CLASS: $classes"
# WM_CLASS is "instance", "class"; the entry names the class.
echo "$classes" | grep -qF ", \"$expected\"" ||
    { echo "FAIL: no window of class \"$expected\""; exit 1; }
echo "PASS: the window's class is \"$expected\""
