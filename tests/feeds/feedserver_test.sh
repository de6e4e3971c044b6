#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The crews' feeds served by a real web server, as the author publishes them: nginx on a loopback
# port, with a configuration, pid and log files of its own in a temporary folder, serves a folder
# that kelsing-shifts feeds wrote. Each feed comes as text/calendar, whole, and again as 304 Not
# Modified to a client that has it, also after the folder is written again; libical reads every
# feed, whose events agree with kelsing-shifts shift; tidy finds no error in the page, whose QR
# codes read back as their addresses. Exit status 77 where nginx cannot start.
# Usage: feedserver_test.sh KELSING_SHIFTS FEED_READER
set -euo pipefail

tool=$1
reader=$2
umask 022

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

command -v nginx >/dev/null || skip "nginx is not installed (Debian package nginx-light)"
mime_types=/etc/nginx/mime.types
[ -r "$mime_types" ] || skip "nginx has no $mime_types (Debian package nginx-common)"
for program in curl tidy rsvg-convert zbarimg; do
    command -v "$program" >/dev/null || fail "$program is not installed (see scripts/common.sh)"
done

work=$(mktemp -d)
# The web server's workers may run as another user: they read the site through this folder.
chmod 755 "$work"
nginx_pid=""
stop_server() {
    if [ -n "$nginx_pid" ]; then
        kill "$nginx_pid" 2>/dev/null || true
        wait "$nginx_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap stop_server EXIT

# Starts nginx on a free loopback port, trying a few; sets port and nginx_pid.
start_server() {
    local attempt conf="$work/nginx/nginx.conf"
    mkdir -p "$work/nginx/temp" "$work/site"
    for attempt in 1 2 3 4 5 6 7 8; do
        port=$((20000 + (RANDOM % 20000)))
        cat >"$conf" <<CONF
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
worker_processes 1;
events { worker_connections 64; }
http {
    access_log off;
    client_body_temp_path $work/nginx/temp/body;
    proxy_temp_path $work/nginx/temp/proxy;
    fastcgi_temp_path $work/nginx/temp/fastcgi;
    uwsgi_temp_path $work/nginx/temp/uwsgi;
    scgi_temp_path $work/nginx/temp/scgi;
    # Debian's own list of types and the line that the README gives for the feeds.
    include $mime_types;
    types { text/calendar ics; }
    default_type application/octet-stream;
    server {
        listen 127.0.0.1:$port;
        root $work/site;
    }
}
CONF
        nginx -p "$work/nginx" -c "$conf" -e "$work/nginx/error.log" -g 'daemon off;' \
            2>>"$work/nginx/start.log" &
        nginx_pid=$!
        local wait
        for wait in $(seq 50); do
            if curl -s -o /dev/null "http://127.0.0.1:$port/"; then
                return 0
            fi
            kill -0 "$nginx_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$nginx_pid" 2>/dev/null || true
        wait "$nginx_pid" 2>/dev/null || true
        nginx_pid=""
    done
    skip "nginx does not start: $(tail -n 3 "$work/nginx/start.log" "$work/nginx/error.log" 2>/dev/null)"
}

start_server
# The configuration, with the README's line, as nginx takes it: without a warning.
if grep -h '\[warn\]' "$work/nginx/start.log" "$work/nginx/error.log" 2>/dev/null; then
    fail "nginx warns about its configuration"
fi
site="http://127.0.0.1:$port/kelsing_schedule/feeds/"
folder="$work/site/kelsing_schedule/feeds"
mkdir -p "$work/site/kelsing_schedule"
generate() {
    "$tool" feeds --dir "$folder" --from 2025-01-01 --to 2031-12-31 --site "$site" >/dev/null ||
        fail "kelsing-shifts feeds failed"
}
generate
cp -a "$folder" "$work/first"

# Fetches an address; headers into $work/head, the body into $work/body; prints the status.
fetch() {
    curl -sS -D "$work/head" -o "$work/body" -w '%{http_code}' "$@"
}
header() {
    grep -i "^$1:" "$work/head" | head -n 1 | cut -d' ' -f2- | tr -d '\r'
}

days="2025-01-01 2026-03-08 2027-12-25 2029-02-28 2031-12-31"
feeds=0
declare -A etags
for file in "$folder"/*; do
    name=${file##*/}
    status=$(fetch "$site$name")
    [ "$status" = 200 ] || fail "$name: status $status"
    cmp -s "$work/body" "$file" || fail "$name: the body is not the file"
    type=$(header Content-Type)
    etags[$name]=$(header ETag)
    [ -n "${etags[$name]}" ] || fail "$name: no ETag"
    if [ "$name" = index.html ]; then
        [[ $type == text/html* ]] || fail "index.html: Content-Type $type"
        continue
    fi
    [[ $type == text/calendar* ]] || fail "$name: Content-Type $type"
    feeds=$((feeds + 1))
    # libical reads the served feed; its events on sample days are the crew's shifts.
    "$reader" "$work/body" >"$work/events" || fail "$name: libical cannot read it"
    code=${name%.ics}
    # shellcheck disable=SC2086
    "$tool" shift --crew "$code" $days | while IFS=$'\t' read -r day label; do
        found=$(grep "^$day"$'\t' "$work/events" | cut -f2 || true)
        case $label in "" | Off) want="" ;; *) want=$label ;; esac
        [ "$found" = "$want" ] || fail "$name: on $day the feed says '$found', shift says '$want'"
    done
    status=$(fetch -H "If-None-Match: ${etags[$name]}" "$site$name")
    [ "$status" = 304 ] || fail "$name: status $status to a client that has it"
done
[ "$feeds" -eq 70 ] || fail "$feeds feeds served, not 70"
echo "70 feeds served as text/calendar, read by libical, 304 to a client that has them"

# Written again on another day: the same bytes and times, so clients fetch nothing new.
generate
diff -r "$work/first" "$folder" >/dev/null || fail "a second run wrote other bytes"
for file in "$folder"/*; do
    name=${file##*/}
    [ "$(stat -c %Y "$file")" = "$(stat -c %Y "$work/first/$name")" ] || fail "$name: a new time"
    status=$(fetch -H "If-None-Match: ${etags[$name]}" "$site$name")
    [ "$status" = 304 ] || fail "$name: status $status after the folder was written again"
done
status=$(fetch "${site}83.2.ics")
status=$(fetch -H "If-Modified-Since: $(header Last-Modified)" "${site}83.2.ics")
[ "$status" = 304 ] || fail "83.2.ics: status $status to If-Modified-Since"
echo "written again: the same bytes and times, still 304"

# The page: no error for tidy, and a crew's QR code reads back as its subscription address.
status=0
tidy -errors -q "$folder/index.html" >"$work/tidy.log" 2>&1 || status=$?
[ "$status" -lt 2 ] || { cat "$work/tidy.log"; fail "tidy finds errors in index.html"; }
grep -o '<svg[^>]*aria-label="QR code of webcal://[^"]*83\.2\.ics".*</svg>' "$folder/index.html" \
    >"$work/code.svg" || fail "no QR code of 83.2 on the page"
rsvg-convert --width=200 --height=200 -o "$work/code.png" "$work/code.svg"
read_back=$(zbarimg --raw -q "$work/code.png" 2>/dev/null) || fail "zbarimg reads no QR code"
[ "$read_back" = "webcal://127.0.0.1:$port/kelsing_schedule/feeds/83.2.ics" ] ||
    fail "the QR code reads '$read_back'"
echo "index.html: no error for tidy, its QR code reads back"

# A full disk: a file system of 1 MiB of its own, where the system lets the test mount one.
mkdir "$work/small"
unshare_options=(--mount)
[ "$(id -u)" -eq 0 ] || unshare_options=(--map-root-user --mount)
# shellcheck disable=SC2016
if full=$(unshare "${unshare_options[@]}" sh -c '
    mount -t tmpfs -o size=1m kelsing-small "$1" || exit 77
    status=0
    "$2" feeds --dir "$1/feeds" >/dev/null 2>"$1/../full.err" || status=$?
    echo "$status $(ls -A "$1" | wc -l)"' sh "$work/small" "$tool" 2>/dev/null); then
    [ "$full" = "1 0" ] || fail "on a full disk: status and entries left '$full'"
    grep -q "cannot write feeds to .*: No space left on device" "$work/full.err" ||
        fail "on a full disk: $(cat "$work/full.err")"
    echo "a full disk: told, and nothing left behind"
else
    echo "note: no file system of the test's own could be mounted; the full disk is not tried"
fi
echo "PASS"
