#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The chooser on a real desktop, driven by real clicks: on X11 (Xvfb, openbox) and on Wayland
# (weston; its X11 backend gives it the seat that a popup's grab needs). A crew box click opens
# the chooser as a popup of the main window at its place, a group click moves and widens it, a
# crew box click while it is open opens a fresh one, and a click elsewhere closes it.
# Places in pixels: 15 twips a pixel at the designed size.
# Usage: desktopchooser_test.sh x11|wayland PROGRAM   (exit status 77: the desktop cannot start)
set -euo pipefail
mode=$1 program=$2
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait; rm -rf "$work"' EXIT
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
# Waits for a condition: a bound on a hang of a minute, where a sanitized program on a busy
# machine takes a few seconds.
await() { for _ in $(seq 600); do "$@" 2>/dev/null && return 0; sleep 0.1; done; return 1; }
# A click as a hand makes it: the press and the release a moment apart.
click() { xdotool mousemove "$1" "$2" mousedown 1 sleep 0.1 mouseup 1 sleep 0.4; }
for tool in Xvfb xdotool xprop xwininfo "$([ "$mode" = x11 ] && echo openbox || echo weston)"; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
Xvfb -displayfd 3 -screen 0 800x600x24 3>"$work/display" 2>/dev/null &
pids+=($!)
await test -s "$work/display" || skip "Xvfb cannot start"
export DISPLAY=":$(cat "$work/display")"

if [ "$mode" = wayland ]; then
    # The kiosk shell shows the main window full screen, here at (0, 0) and its designed size.
    export XDG_RUNTIME_DIR=$work
    weston --backend=x11-backend.so --use-pixman --shell=kiosk-shell.so --socket=kelsing \
        --width=465 --height=400 --idle-time=0 >"$work/weston.log" 2>&1 &
    pids+=($!)
    await test -S "$work/kelsing" || skip "weston cannot start: $(tail -1 "$work/weston.log")"
    WAYLAND_DISPLAY=kelsing QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 KELSING_REPORT_FIRST_FRAME=1 \
        "$program" >"$work/log" 2>&1 &
    pids+=($!)
    await grep -q 'xdg_toplevel@[0-9]*\.configure(465, 400' "$work/log" || fail "no main window"
    # The compositor shows a surface, and sends it clicks, only once its first frame is there.
    await grep -q '^first frame$' "$work/log" || fail "no first frame"
    main=$(grep -o 'xdg_surface@[0-9]*\.get_toplevel' "$work/log" | head -1 | cut -d. -f1)
    # The popups of the main window, and where the last one was placed: anchor, then size.
    opened() { grep -c "get_popup(new id xdg_popup@[0-9]*, $main, " "$work/log" || true; }
    closed() { grep -c 'xdg_popup@[0-9]*\.destroy()' "$work/log" || true; }
    place() {
        grep -oE 'set_(anchor_rect|size)\([0-9]+, [0-9]+' "$work/log" | tail -2 |
            sed 's/.*(//; s/, /,/' | paste -sd' '
    }
    state() { echo "$(opened) $(closed) $(place)"; }
    is() { [ "$(state)" = "$1" ]; }
    expect() { await is "$1" || fail "$2: $(state)"; }
    # Without a title bar the chooser stands right above the crew box (at 360), not over it.
    click 240 385
    expect "1 0 162,173 162,187" "the crew box opens no popup"
    grep -q 'xdg_popup@[0-9]*\.grab(wl_seat' "$work/log" || fail "the popup takes no grab"
    click 182 301 && click 278 237 # Corvath, 401-404
    expect "2 1 118,173 244,187" "the member list is misplaced"
    click 240 385
    expect "3 2 162,173 162,187" "no fresh chooser"
    click 60 100
    expect "3 3 162,173 162,187" "a click on the sheet leaves it"
    exit 0
fi

openbox >/dev/null 2>&1 &
pids+=($!)
wm() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
await wm || skip "openbox cannot start"
QT_QPA_PLATFORM=xcb "$program" -geometry +0+0 &
pids+=($!)
shown() { xdotool search --onlyvisible --name '^Kelsing Shift Workers Schedule$'; }
await shown >/dev/null || fail "no window"
main=$(shown)
frame() { xprop -id "$main" _NET_FRAME_EXTENTS | grep -q '= '; }
await frame || fail "no frame"
read -r left _ top _ < <(xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
chooser() { xdotool search --onlyvisible --name '^Choose Crew$' || true; }
# Where a window stands, its size, whether the window manager leaves it alone.
place() {
    xwininfo -id "$1" | awk '/Absolute|Width|Height|Override/ { printf "%s ", $NF } END { print "" }'
}
read -r X Y _ < <(place "$main")
ox=$((X - left)) oy=$((Y - top)) # the main window's outer corner
open() { [ -n "$(chooser)" ] && [ "$(chooser)" != "${1:-}" ]; }
at() { [ "$(place "$1")" = "$2" ]; }
click $((X + 240)) $((Y + 377))
await open || fail "the crew box opens no chooser"
first=$(chooser)
await at "$first" "$((ox + 162)) $((oy + 187)) 162 187 yes " || fail "at $(place "$first")"
xprop -id "$first" WM_TRANSIENT_FOR | grep -q "$(printf '0x%x' "$main")" || fail "no transient"
xprop -root _NET_CLIENT_LIST | grep -q "$(printf '0x%x' "$first")" && fail "a taskbar entry"
click $((ox + 182)) $((oy + 315)) && click $((ox + 278)) $((oy + 251)) # Corvath, 401-404
await at "$first" "$((ox + 118)) $((oy + 187)) 244 187 yes " || fail "at $(place "$first")"
click $((X + 240)) $((Y + 390))
await open "$first" || fail "no fresh chooser"
closed() { [ -z "$(chooser)" ]; }
click 700 550
await closed || fail "a click on the desktop leaves it"
