#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window by keys alone, as a screen reader hears it: the real program on X11 (Xvfb, openbox)
# with its own session bus and accessibility bus, driven by xdotool, its focus read through
# AT-SPI after every key (screenreaderwalk.py).
# Usage: screenreader_test.sh PROGRAM   (exit status 77: the desktop or the bus cannot start)
set -euo pipefail
program=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait; rm -rf "$work"' EXIT
skip() { echo "SKIP: $*"; exit 77; }
# Waits for a condition: a bound on a hang of a minute, where a sanitized program on a busy
# machine takes a few seconds.
await() { for _ in $(seq 600); do "$@" 2>/dev/null && return 0; sleep 0.1; done; return 1; }
for tool in Xvfb openbox xdotool xprop dbus-run-session; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
# Debian's own Python, which has the AT-SPI bindings, whatever python3 comes first in PATH.
python=/usr/bin/python3
"$python" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
Xvfb -displayfd 3 -screen 0 800x600x24 3>"$work/display" 2>/dev/null &
pids+=($!)
await test -s "$work/display" || skip "Xvfb cannot start"
export DISPLAY=":$(cat "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
wm() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
await wm || skip "openbox cannot start"
# The program's settings and files stay in the test's folder.
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
status=0
dbus-run-session -- "$python" "$here/screenreaderwalk.py" "$program" "$work" 2>"$work/bus.log" ||
    status=$?
if [ "$status" -eq 127 ] || grep -q 'Failed to start message bus' "$work/bus.log"; then
    skip "the session bus cannot start: $(tail -1 "$work/bus.log")"
fi
[ "$status" -eq 0 ] || grep -v 'dbus-daemon\[' "$work/bus.log" | tail -20
exit "$status"
