#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# onwayland.sh QTPATHS MIN_WINDOWS PROGRAM [ARGUMENTS...]
# Runs a window test program as a client of a Wayland compositor of its own: Debian's weston,
# headless, with a private runtime folder and socket, and no X display to fall back to. Qt is told
# to use its Wayland plugin alone, so the program cannot run on anything else. Passes when the
# program passes and its Wayland protocol log shows at least MIN_WINDOWS windows made as
# desktop windows (xdg toplevels). Skipped when weston or Qt's Wayland plugin (looked for in the
# plugin folder that Qt's qtpaths, QTPATHS, names) is missing.
set -euo pipefail

plugins=$("$1" --query QT_INSTALL_PLUGINS)
min_windows=$2
shift 2

skip=77
command -v weston >/dev/null || {
    echo "skipped: weston is missing (Debian package weston)"
    exit $skip
}
[ -e "$plugins/platforms/libqwayland-generic.so" ] || {
    echo "skipped: Qt's Wayland plugin is missing (Debian package qt6-wayland)"
    exit $skip
}

runtime=$(mktemp -d)
chmod 700 "$runtime"
socket=pirk-perk-test
weston_pid=
cleanup() {
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null || true
        wait "$weston_pid" 2>/dev/null || true
    fi
    rm -rf "$runtime"
}
trap cleanup EXIT

XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket=$socket --idle-time=0 \
    --log="$runtime/weston.log" &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.1
done
[ -S "$runtime/$socket" ] || {
    echo "FAIL: weston did not start:"
    cat "$runtime/weston.log"
    exit 1
}

# Headless weston offers no seat (no keyboard, no pointer; the test sends its clicks through Qt),
# and Qt 6.4's Wayland input method then reads the missing seat when a line edit draws its cursor,
# which crashes the program: Qt's compose input method, X11's usual one, is used instead. A
# desktop always has a seat.
status=0
env -u DISPLAY -u QT_SCALE_FACTOR QT_QPA_PLATFORM=wayland QT_IM_MODULE=compose \
    WAYLAND_DISPLAY=$socket XDG_RUNTIME_DIR="$runtime" WAYLAND_DEBUG=client \
    "$@" 2>"$runtime/client.log" || status=$?
# The program's own messages, without the protocol log.
grep -v -E '^\[ *[0-9]+\.[0-9]+\] ' "$runtime/client.log" || true
toplevel='^\[ *[0-9.]+\].* -> xdg_surface[@#][0-9]+\.get_toplevel'
windows=$(grep -c -E "$toplevel" "$runtime/client.log" || true)
echo "$windows windows shown on Wayland (weston $(weston --version | cut -d' ' -f2), headless)"
[ "$status" -eq 0 ] || {
    echo "FAIL: $1 exited with status $status"
    exit 1
}
[ "$windows" -ge "$min_windows" ] || {
    echo "FAIL: fewer than $min_windows windows were made on Wayland"
    exit 1
}
