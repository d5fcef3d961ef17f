#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# desktopthemes.sh RENDER_WINDOW DESKTOP_COLOUR
#
# The game under the real platform themes of two desktops, on a headless X display: Qt's KDE theme
# reading a kdeglobals colour scheme, and Qt's GTK 3 theme with GTK's Adwaita. Every window and
# dialog that render-window draws is, on each desktop, pixel for pixel the same on the dark colour
# scheme as on the light one. A missing program skips the test (exit code 77) with the reason.
set -euo pipefail
work=$(mktemp -d)
trap 'kill ${xvfb:-} 2>/dev/null; rm -rf "$work"' EXIT
skip() {
    echo "SKIP: $*"
    exit 77
}
command -v Xvfb >/dev/null || skip "Xvfb is missing (package xvfb)"
[ -f "$(qtpaths6 --query QT_INSTALL_PLUGINS)/platformthemes/libqgtk3.so" ] ||
    skip "Qt's GTK 3 platform theme is missing (package qt6-gtk-platformtheme)"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break || sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
export QT_LOGGING_RULES=qt.qpa.theme.dbus=false # no session bus to hear KDE's changes on
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR XDG_CONFIG_HOME

# on_desktop kde|gnome light|dark COMMAND...: runs COMMAND in that desktop's session, with a home
# of its own; KDE's colours are Breeze's (Light or Dark).
on_desktop() {
    local home="$work/home-$1-$2" window=239,240,241 view=255,255,255 text=35,38,41
    mkdir -p "$home/.config"
    if [ "$1" = kde ]; then
        [ "$2" = light ] || window=42,46,50 view=27,30,32 text=252,252,252
        printf '[Colors:%s]\nBackgroundNormal=%s\nForegroundNormal=%s\n' Window $window $text \
            View $view $text Button $window $text Selection 61,174,233 252,252,252 \
            >"$home/.config/kdeglobals"
        HOME=$home XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 "${@:3}"
    else
        local theme=Adwaita
        [ "$2" = light ] || theme=Adwaita:dark
        HOME=$home XDG_CURRENT_DESKTOP=GNOME QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=$theme "${@:3}"
    fi
}

pixels() {
    local failed=0 windows desktop scheme window lightness light dark
    windows=$({ "$1" || true; } 2>&1 | sed -n 's/^usage: render-window \(.*\) FILE.png$/\1/p')
    for desktop in kde gnome; do
        for scheme in light dark; do
            # The scheme must reach Qt, or the comparison proves nothing.
            lightness=$(on_desktop $desktop $scheme "$2")
            if { [ $scheme = light ] && [ "$lightness" -lt 128 ]; } ||
                { [ $scheme = dark ] && [ "$lightness" -ge 128 ]; }; then
                echo "FAIL: $desktop's $scheme scheme gives Qt a window lightness of $lightness"
                failed=1
            fi
            for window in ${windows//|/ }; do
                on_desktop $desktop $scheme "$1" "$window" "$work/$desktop-$scheme-$window.ppm"
            done
        done
        for window in ${windows//|/ }; do
            light=$work/$desktop-light-$window.ppm dark=$work/$desktop-dark-$window.ppm
            if cmp -s "$light" "$dark"; then
                echo "ok: $desktop $window, light as dark"
            else
                # Pictures of one size: differing bytes past the 3-line header, counted by pixel.
                echo "FAIL: $desktop $window: $(cmp -l "$light" "$dark" | awk -v header="$(
                    head -n 3 "$light" | wc -c)" '{ print int(($1 - header - 1) / 3) }' |
                    uniq | wc -l) pixels differ, sized $(sed -n 2p "$light") and" \
                    "$(sed -n 2p "$dark")"
                failed=1
            fi
        done
    done
    return $failed
}

pixels "$1" "$2"
