#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the window program until it has loaded its version check and printing, which it does after
# its first frame, and stops it. Passes when the module is in the program's memory map while it
# still runs; fails at once when the program ends or warns that the module is not available.
# The module is there within a second, a few sanitized on a busy machine; a minute bounds a hang.
# Usage: untilloaded.sh ERRORS COMMAND...   (the program's standard error goes to ERRORS; COMMAND
# may start with env, which becomes the program)
set -u
errors=$1
shift
"$@" 2>"$errors" &
app=$!
loaded=false
for _ in $(seq 600); do
    grep -q kelsing-schedule-services "/proc/$app/maps" 2>/dev/null && loaded=true && break
    kill -0 "$app" 2>/dev/null && ! grep -q "not available" "$errors" || break
    sleep 0.1
done
kill "$app" 2>/dev/null
status=0
# Without the shell's note that the program was terminated.
wait "$app" 2>/dev/null || status=$?
# 143: ended by the kill above, so it was still running.
$loaded && [ "$status" -eq 143 ] && exit 0
echo "the module was loaded: $loaded; exit status $status; the program said:"
cat "$errors"
exit 1
