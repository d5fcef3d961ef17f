#!/usr/bin/env bash
# desktopthemes.sh pixels RENDER_WINDOW DESKTOP_COLOUR
# desktopthemes.sh bus GAME
#
# The game under the real platform themes of two desktops, on a headless X display: Qt's KDE theme
# reading a kdeglobals colour scheme, and Qt's GTK 3 theme with GTK's Adwaita.
# - pixels: every window and dialog that render-window draws looks the same, pixel for pixel, on
#   each desktop's dark colour scheme as on its light one.
# - bus: with the GTK theme, exactly one application named pirk-perk shows on the screen-reader
#   bus (AT-SPI), and it holds the main window.
# A missing program skips the test (exit code 77) with the reason.
set -euo pipefail
mode=$1
work=$(mktemp -d)
cleanup() {
    [ -z "${xvfb:-}" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
skip() {
    echo "SKIP: $*"
    exit 77
}

command -v Xvfb >/dev/null || skip "Xvfb is missing (package xvfb)"
gtk_theme="$(qtpaths6 --query QT_INSTALL_PLUGINS)/platformthemes/libqgtk3.so"
[ -f "$gtk_theme" ] || skip "Qt's GTK 3 platform theme is missing (package qt6-gtk-platformtheme)"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break || sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
export QT_LOGGING_RULES=qt.qpa.theme.dbus=false # no session bus to hear KDE's changes on
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR XDG_CONFIG_HOME KDE_SESSION_VERSION

# kde_group NAME BACKGROUND ALTERNATE FOREGROUND INACTIVE: one colour group of a KDE scheme.
kde_group() {
    printf '[Colors:%s]\nBackgroundNormal=%s\nBackgroundAlternate=%s\nForegroundNormal=%s\n' "$@"
    printf 'ForegroundInactive=%s\nForegroundActive=61,174,233\nForegroundLink=41,128,185\n' "$5"
    printf 'ForegroundVisited=127,140,141\nForegroundNegative=218,68,83\n'
    printf 'ForegroundNeutral=246,116,0\nForegroundPositive=39,174,96\n'
    printf 'DecorationFocus=61,174,233\nDecorationHover=147,206,233\n\n'
}

# on_desktop kde|gnome light|dark COMMAND...: runs COMMAND in that desktop's session, with a
# home of its own.
on_desktop() {
    local home="$work/home-$1-$2"
    mkdir -p "$home/.config"
    if [ "$1" = kde ]; then
        if [ "$2" = dark ]; then
            {
                printf '[General]\nColorScheme=BreezeDark\n\n'
                kde_group Window 42,46,50 49,54,59 252,252,252 161,169,177
                kde_group View 27,30,32 35,38,41 252,252,252 161,169,177
                kde_group Button 49,54,59 30,87,116 252,252,252 161,169,177
                kde_group Selection 61,174,233 30,87,116 252,252,252 161,169,177
            } >"$home/.config/kdeglobals"
        else
            {
                printf '[General]\nColorScheme=BreezeLight\n\n'
                kde_group Window 239,240,241 227,229,231 35,38,41 112,125,138
                kde_group View 255,255,255 247,247,247 35,38,41 112,125,138
                kde_group Button 252,252,252 163,212,250 35,38,41 112,125,138
                kde_group Selection 61,174,233 163,212,250 255,255,255 239,240,241
            } >"$home/.config/kdeglobals"
        fi
        HOME=$home XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 "${@:3}"
    else
        local theme=Adwaita
        [ "$2" = light ] || theme=Adwaita:dark
        HOME=$home XDG_CURRENT_DESKTOP=GNOME QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=$theme "${@:3}"
    fi
}

# differing_pixels A.ppm B.ppm: how many pixels of two pictures of one size differ.
differing_pixels() {
    local header
    header=$(head -n 3 "$1" | wc -c)
    { cmp -l "$1" "$2" || true; } | awk -v h="$header" '{ print int(($1 - h - 1) / 3) }' |
        uniq | wc -l
}

pixels() {
    local render=$1 colour=$2 failed=0 windows desktop scheme window lightness
    windows=$({ "$render" || true; } 2>&1 | sed -n 's/^usage: render-window \(.*\) FILE.png$/\1/p' | tr '|' ' ')
    for desktop in kde gnome; do
        for scheme in light dark; do
            # The scheme must reach Qt, or the comparison proves nothing.
            lightness=$(on_desktop $desktop $scheme "$colour")
            if { [ $scheme = light ] && [ "$lightness" -lt 128 ]; } ||
                { [ $scheme = dark ] && [ "$lightness" -ge 128 ]; }; then
                echo "FAIL: $desktop's $scheme scheme gives Qt a window lightness of $lightness"
                failed=1
            fi
            for window in $windows; do
                on_desktop $desktop $scheme "$render" "$window" "$work/$desktop-$scheme-$window.ppm"
            done
        done
        for window in $windows; do
            local light="$work/$desktop-light-$window.ppm" dark="$work/$desktop-dark-$window.ppm"
            if [ "$(head -n 2 "$light")" != "$(head -n 2 "$dark")" ]; then
                echo "FAIL: $desktop $window: $(sed -n 2p "$light") light, $(sed -n 2p "$dark") dark"
                failed=1
            elif ! cmp -s "$light" "$dark"; then
                echo "FAIL: $desktop $window: $(differing_pixels "$light" "$dark") pixels differ"
                failed=1
            else
                echo "ok: $desktop $window, $(sed -n 2p "$light") pixels, light as dark"
            fi
        done
    done
    return $failed
}

# a11y ADDRESS DESTINATION PATH PROPERTY: one property of an object on the screen-reader bus.
a11y() {
    gdbus call --address "$1" --dest "$2" --object-path "$3" \
        --method org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible "$4" |
        sed -n "s/^(<\(.*\)>,)$/\1/p" | sed "s/^'\(.*\)'$/\1/"
}

# games ADDRESS: one line for each application named pirk-perk on the screen-reader bus, with the
# names of its windows.
games() {
    local bus path child line
    gdbus call --address "$1" --dest org.a11y.atspi.Registry \
        --object-path /org/a11y/atspi/accessible/root \
        --method org.a11y.atspi.Accessible.GetChildren | grep -o "(':[0-9.]*', [^)]*)" |
        tr -d "(),'" | awk '{ print $1, $NF }' | while read -r bus path; do
        [ "$(a11y "$1" "$bus" "$path" Name)" = pirk-perk ] || continue
        line="application $bus:"
        for index in $(seq 0 $(($(a11y "$1" "$bus" "$path" ChildCount) - 1))); do
            child=$(gdbus call --address "$1" --dest "$bus" --object-path "$path" \
                --method org.a11y.atspi.Accessible.GetChildAtIndex "$index" | tr -d "(),'" |
                awk '{ print $NF }')
            line+=" window \"$(a11y "$1" "$bus" "$child" Name)\""
        done
        echo "$line"
    done
}

bus() {
    command -v dbus-run-session >/dev/null || skip "dbus-run-session is missing (package dbus)"
    command -v gdbus >/dev/null || skip "gdbus is missing (package libglib2.0-bin)"
    [ -x /usr/libexec/at-spi-bus-launcher ] || skip "the AT-SPI bus is missing (package at-spi2-core)"
    # The game keeps its records beside its program file: a copy of it runs in the scratch folder.
    cp "$1" "$work/pirk-perk"
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    export -f a11y games
    on_desktop gnome light dbus-run-session -- bash -c '
        "$1" &
        address=$(gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
            --method org.a11y.Bus.GetAddress | sed -n "s/^(.\(.*\).,)$/\1/p")
        for _ in $(seq 150); do games "$address" | grep -q window && break || sleep 0.2; done
        sleep 1 # room for a late second registration
        found=$(games "$address")
        kill %1
        echo "${found:-no application named pirk-perk}"
        [ "$(echo "$found" | grep -c "window \"Пирк-Перк\"")" = 1 ] &&
            [ "$(echo "$found" | grep -c application)" = 1 ]' bash "$work/pirk-perk"
}

case $mode in
pixels) pixels "$2" "$3" ;;
bus) bus "$2" ;;
*)
    echo "usage: desktopthemes.sh pixels RENDER_WINDOW DESKTOP_COLOUR | bus GAME" >&2
    exit 2
    ;;
esac
