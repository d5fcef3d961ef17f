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
step() { echo "== $*"; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

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
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n 1 "$work/display")
# The game sees a player's usual session: a home folder, and no Qt settings from the test runner.
unset QT_QPA_PLATFORM QT_SCALE_FACTOR XDG_DATA_HOME XDG_CONFIG_HOME
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
(cd / && exec "$command") >"$work/game.log" 2>&1 &
game_pid=$!

# xdotool with a time limit: no step of the test can hang.
xdo() { timeout 10 xdotool "$@"; }
# Waits up to 20 s for a shown window with this exact title and prints its id.
window() {
    local ids
    ids=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$") || return 1
    echo "${ids%%$'\n'*}"
}
main=$(window "Пирк-Перк") || fail "the main window did not show"
echo "main window $main"

step "playing to a win"
clicks=$(timeout 30 "$screen_board" solve "$work/start.png") || fail "no board on the screen (see start.png)"
moves=$(echo "$clicks" | wc -l)
while read -r x y; do
    # Apart by more than a double click, which would be one move.
    xdo mousemove --sync "$x" "$y" click 1
    sleep 0.6
done <<<"$clicks"

prompt=$(window "Рекорд") || fail "no name prompt after the win"
xdo windowfocus --sync "$prompt"
xdo type --delay 50 "$name"
xdo key Return
records=$(window "Рекордсмены") || fail "no records window after the name"
timeout 30 "$screen_board" read "$work/records.png" >/dev/null || true
xdo windowfocus --sync "$records"
xdo key Return
for _ in $(seq 100); do
    xdo search --onlyvisible --name '^Рекордсмены$' >/dev/null || break
    sleep 0.1
done
board=$(timeout 30 "$screen_board" read "$work/won.png") || fail "no board after the win (see won.png)"
[ "$board" = 1111111111111111 ] || fail "the board is $board after $moves moves"

step "checking where the record went"
records_file=$HOME/.local/share/pirk-perk/Records.dat
[ -f "$records_file" ] || fail "no $records_file"
[ ! -e /usr/games/Records.dat ] || fail "the installed game wrote /usr/games/Records.dat"
expected=$work/expected.dat
{
    printf '%-10s' "$name"
    printf "\\$(printf %03o "$moves")\\000"
    head -c 48 /dev/zero
} >"$expected"
cmp "$records_file" "$expected" || fail "Records.dat holds $(od -An -c "$records_file")"
echo "$name, $moves moves, in $records_file"

step "leaving the game with its exit question"
xdo windowfocus --sync "$main"
xdo key Tab space # the focus starts on "Новая"; the next button is "Выход"
question=$(window "Пирк - Перк") || fail "no exit question"
xdo windowfocus --sync "$question"
xdo key Return
status=
for _ in $(seq 100); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
        wait "$game_pid" && status=0 || status=$?
        break
    fi
    sleep 0.1
done
[ "$status" = 0 ] || fail "the game did not end with status 0 after \"Да\" (${status:-still running})"
game_pid=
echo "PASS: the installed game was won and left; its record is in the player's data folder"
