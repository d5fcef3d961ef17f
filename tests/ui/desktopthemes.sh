#!/usr/bin/env bash
# desktopthemes.sh pixels RENDER_WINDOW DESKTOP_COLOUR | bus GAME
#
# The game under the real platform themes of two desktops, on a headless X display: Qt's KDE theme
# reading a kdeglobals colour scheme, and Qt's GTK 3 theme with GTK's Adwaita.
# - pixels: every window and dialog that render-window draws is, on each desktop, pixel for pixel
#   the same on the dark colour scheme as on the light one.
# - bus: with the GTK theme, exactly one application named pirk-perk is on the screen-reader bus
#   (AT-SPI), and it holds the main window.
# A missing program skips the test (exit code 77) with the reason.
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

bus() {
    command -v dbus-run-session >/dev/null || skip "dbus-run-session is missing (dbus-daemon)"
    [ -x /usr/libexec/at-spi-bus-launcher ] || skip "the AT-SPI bus is missing (at-spi2-core)"
    /usr/bin/python3 -c 'import dbus' || skip "Python's D-Bus is missing (python3-dbus)"
    # The game keeps its records beside its program file: a copy of it runs in the scratch folder.
    cp "$1" "$work/pirk-perk"
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 on_desktop gnome light dbus-run-session -- \
        /usr/bin/python3 - "$work/pirk-perk" <<'END'
import subprocess, sys, time
import dbus

game = subprocess.Popen(sys.argv[1:])
bus = dbus.SessionBus().get_object("org.a11y.Bus", "/org/a11y/bus")
a11y = dbus.bus.BusConnection(bus.GetAddress(dbus_interface="org.a11y.Bus"))
def children(name, path):
    return a11y.get_object(name, path).GetChildren(dbus_interface="org.a11y.atspi.Accessible")
def text(name, path):
    return a11y.get_object(name, path).Get("org.a11y.atspi.Accessible", "Name",
                                           dbus_interface="org.freedesktop.DBus.Properties")
def games():  # the names of the windows of each application named pirk-perk
    return [[str(text(*window)) for window in children(*app)]
            for app in children("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
            if text(*app) == "pirk-perk"]

for _ in range(150):
    if any(games()):
        break
    time.sleep(0.2)
time.sleep(1)  # room for a late second registration
found = games()
game.terminate()
print("the windows of each application named pirk-perk:", found)
sys.exit(found != [["Пирк-Перк"]])
END
}

case ${1:-} in
pixels) pixels "$2" "$3" ;;
bus) bus "$2" ;;
*)
    echo "usage: desktopthemes.sh pixels RENDER_WINDOW DESKTOP_COLOUR | bus GAME" >&2
    exit 2
    ;;
esac
