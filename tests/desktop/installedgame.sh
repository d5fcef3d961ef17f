#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# installedgame.sh SOURCE_DIR WORK_DIR GENERATOR SCREEN_BOARD
# Builds the Debian package as the README says and has lintian check it (no error, no warning),
# installs it, and plays one game to a win with the installed program on a headless X display
# (Xvfb), with the mouse and keys a player uses: the board is read from the screen. The record
# must land in the player's data folder, not beside the installed program. The package is removed
# again at the end. Needs root, as installing a package does; skipped otherwise.
set -euo pipefail

source_dir=$1
work=$2
generator=$3
screen_board=$4

skip=77
app_id=example.pirk_perk.PirkPerk
name=Igrok
# shellcheck source=tests/desktop/playgame.sh
. "$(dirname "$0")/playgame.sh"

if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: installing a package needs root"
    exit $skip
fi
if dpkg-query -W -f='${Status}' pirk-perk 2>/dev/null | grep -q 'install ok installed'; then
    fail "pirk-perk is installed already; remove it (dpkg -r pirk-perk) to run this test"
fi

step "building the package"
build=$work/build
cmake -S "$source_dir" -B "$build" -G "$generator" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build"
rm -f "$build"/pirk-perk_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/pirk-perk_*.deb)

step "checking the package with lintian"
command -v lintian >/dev/null || fail "lintian is missing (Debian package lintian)"
report=$(lintian "$deb" 2>&1) || true
echo "$report"
! grep -q -E '^[EW]: ' <<<"$report" || fail "lintian found errors or warnings"

game_pid=
xvfb_pid=
installed=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    if [ -n "$installed" ]; then
        step "removing the package"
        dpkg --purge pirk-perk >/dev/null || true
    fi
}
trap cleanup EXIT

step "installing $deb"
installed=yes
dpkg -i "$deb"
for file in /usr/games/pirk-perk /usr/share/man/man6/pirk-perk.6.gz \
    /usr/share/applications/$app_id.desktop \
    /usr/share/metainfo/$app_id.metainfo.xml /usr/share/icons/hicolor/scalable/apps/$app_id.svg \
    /usr/share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/$app_id.png; do
    [ -f "$file" ] || fail "the package did not install $file"
done
launcher=/usr/share/applications/$app_id.desktop
desktop-file-validate "$launcher"
appstreamcli validate --no-net /usr/share/metainfo/$app_id.metainfo.xml
# The menu entry names the installed program, on the search path of a player's session (Debian's
# login.defs), and an installed icon.
command=$(sed -n 's/^Exec=//p' "$launcher")
command=$(PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games command -v "$command") || true
[ "$command" = /usr/games/pirk-perk ] || fail "the menu entry starts \"$command\""
icon=$(sed -n 's/^Icon=//p' "$launcher")
[ -f "/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon \"$icon\" installed"

step "starting the installed game on a headless display"
rm -rf "$work/home" "$work/runtime"
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
start_display
# The game sees a player's usual session: a home folder, and no Qt settings from the test runner.
unset QT_QPA_PLATFORM QT_SCALE_FACTOR XDG_DATA_HOME XDG_CONFIG_HOME
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
(cd / && exec "$command") >"$work/game.log" 2>&1 &
game_pid=$!

main=$(window "Пирк-Перк") || fail "the main window did not show"
echo "main window $main"

step "playing to a win"
win_game "$screen_board" "$name"

step "checking where the record went"
check_table "$HOME/.local/share/pirk-perk/Records.dat" "$name" "$moves"
[ ! -e /usr/games/Records.dat ] || fail "the installed game wrote /usr/games/Records.dat"

step "leaving the game with its exit question"
leave_game "$main" "$game_pid"
game_pid=
echo "PASS: the installed game was won and left; its record is in the player's data folder"
