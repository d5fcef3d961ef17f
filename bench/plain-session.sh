# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by bench/startup and bench/startup-instructions: the game and the reference program of
# the build folder $build ($game, $reference), and a plain session to launch programs in, as on
# the desktop $session if set. Makes the temporary folder $work (removed on exit, with the X
# server and the session bus), starts Xvfb on a free display and, for a desktop, a session bus,
# and defines launch, which runs bench/launchtime ARGUMENT... there, its errors appended to
# $work/programs.log, and launch_failed NAME, which says so and ends the script. $me names the
# script in messages.

launchtime=$build/bench/launchtime
game=$build/ui/pirk-perk
reference=$build/bench/reference/reference
command -v Xvfb >/dev/null || {
    echo "$me: Xvfb is missing (Debian package xvfb)" >&2
    exit 2
}
for file in "$launchtime" "$game" "$reference"; do
    [ -x "$file" ] || {
        echo "$me: $file is missing; build first (tools/quickstart test)" >&2
        exit 2
    }
done

# The variables a session of the desktop $session (gnome, plasma; none when empty) gives its
# programs, by which Qt picks the desktop's platform theme plugin (qt6-gtk-platformtheme,
# plasma-integration) where it is installed.
case ${session:-} in
"") desktop=() ;;
gnome) desktop=(XDG_CURRENT_DESKTOP=GNOME DESKTOP_SESSION=gnome) ;;
plasma) desktop=(XDG_CURRENT_DESKTOP=KDE DESKTOP_SESSION=plasma KDE_FULL_SESSION=true
    KDE_SESSION_VERSION=6) ;;
*)
    echo "$me: unknown desktop $session (gnome or plasma)" >&2
    exit 2
    ;;
esac

work=$(mktemp -d)
xvfb=
bus=
cleanup() {
    [ -n "$bus" ] && kill "$bus" 2>/dev/null && wait "$bus" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# appears TEST...: waits up to 10 s for the test to hold, as a server starting in the background
# makes it.
appears() {
    for _ in $(seq 100); do
        test "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Xvfb picks a free display and writes its number to descriptor 3. It keeps its state when a
# program ends (-noreset), as a desktop's X server does.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset -br 3>"$work/display" \
    2>"$work/xvfb.log" &
xvfb=$!
appears -s "$work/display" || {
    echo "$me: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
}
display=":$(cat "$work/display")"

mkdir -m 700 "$work/runtime"
# A desktop's session always has a session bus, where the programs look for the accessibility bus
# (at-spi2-core's launcher, started on demand) and desktop settings. Without one, Qt and GTK
# programs alike try to start one through dbus-launch, which a desktop never makes them do.
if [ -n "${session:-}" ]; then
    command -v dbus-daemon >/dev/null || {
        echo "$me: dbus-daemon is missing (Debian package dbus-daemon)" >&2
        exit 2
    }
    env -u DBUS_SESSION_BUS_ADDRESS DISPLAY="$display" XDG_RUNTIME_DIR="$work/runtime" \
        dbus-daemon --session --nofork --address="unix:path=$work/runtime/bus" 2>"$work/bus.log" &
    bus=$!
    appears -S "$work/runtime/bus" || {
        echo "$me: the session bus did not start:" >&2
        cat "$work/bus.log" >&2
        exit 1
    }
fi

# Every program sees the same plain session: this display, no input method, and no desktop but
# the variables of the array desktop and, with them, the session bus.
launch() {
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u QT_QPA_PLATFORMTHEME -u QT_SCALE_FACTOR \
        -u DBUS_SESSION_BUS_ADDRESS \
        -u QT_IM_MODULE -u GTK_IM_MODULE -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION \
        -u KDE_FULL_SESSION -u KDE_SESSION_VERSION \
        DISPLAY="$display" XDG_RUNTIME_DIR="$work/runtime" ${desktop[@]+"${desktop[@]}"} \
        ${bus:+DBUS_SESSION_BUS_ADDRESS="unix:path=$work/runtime/bus"} \
        "$launchtime" "$@" 2>>"$work/programs.log"
}

launch_failed() {
    echo "$me: $1 failed:" >&2
    tail -5 "$work/programs.log" >&2
    exit 1
}
