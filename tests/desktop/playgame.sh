# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the checks that play the game as a player does, with the mouse and the keys on a
# headless X display (installedgame.sh, tools/windows-check). The caller sets work, a folder of its
# own, and calls start_display before the rest.

step() { echo "== $*"; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A headless X display for the game, in DISPLAY; xvfb_pid is for the caller to stop.
start_display() {
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    DISPLAY=:$(head -n 1 "$work/display")
    export DISPLAY
}

# xdotool with a time limit: no step can hang.
xdo() { timeout 10 xdotool "$@"; }

# Waits up to 30 s for a shown window with this exact title and prints its id.
window() {
    local ids
    ids=$(timeout 30 xdotool search --sync --onlyvisible --name "^$1\$") || return 1
    echo "${ids%%$'\n'*}"
}

# win_game SCREEN_BOARD NAME: reads the board from the screen with SCREEN_BOARD (tests/desktop's
# screen-board), wins it with the mouse, enters NAME in the name prompt and closes the records
# window with Enter; the board must then be all red. Sets moves to the moves it took.
win_game() {
    local screen_board=$1 name=$2 clicks
    clicks=$(timeout 30 "$screen_board" solve "$work/start.png") ||
        fail "no board on the screen (see start.png)"
    moves=$(echo "$clicks" | wc -l)
    while read -r x y; do
        # Apart by more than a double click, which would be one move.
        xdo mousemove --sync "$x" "$y" click 1
        sleep 0.6
    done <<<"$clicks"

    local prompt records board
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
    board=$(timeout 30 "$screen_board" read "$work/won.png") ||
        fail "no board after the win (see won.png)"
    [ "$board" = 1111111111111111 ] || fail "the board is $board after $moves moves"
}

# check_table FILE NAME MOVES: FILE must be the table that holds this one record.
check_table() {
    local file=$1 name=$2 moves=$3
    [ -f "$file" ] || fail "no $file"
    {
        printf '%-10s' "$name"
        printf "\\$(printf %03o "$moves")\\000"
        head -c 48 /dev/zero
    } >"$work/expected.dat"
    cmp "$file" "$work/expected.dat" || fail "$file holds $(od -An -c "$file")"
    echo "$name, $moves moves, in $file"
}

# leave_game MAIN_WINDOW PID: Выход, then Да in the exit question; the game PID must then end
# with status 0.
leave_game() {
    local main=$1 pid=$2 question status=
    xdo windowfocus --sync "$main"
    xdo key Tab space # the focus starts on "Новая"; the next button is "Выход"
    question=$(window "Пирк - Перк") || fail "no exit question"
    xdo windowfocus --sync "$question"
    xdo key Return
    for _ in $(seq 300); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" && status=0 || status=$?
            break
        fi
        sleep 0.1
    done
    [ "$status" = 0 ] || fail "the game did not end with status 0 after \"Да\" (${status:-still running})"
}
