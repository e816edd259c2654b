#!/usr/bin/env bash
# Starts the real game on an X server of its own, finds the main window, checks
# its title and client size and that a file size limit cannot kill it, clicks
# Quit, and expects the game to end with 0.
set -uo pipefail
game=$1

fail() {
    echo "smoke: $*" >&2
    exit 1
}

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
xvfb=$!
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    rm -f "$displayfile"
}
trap cleanup EXIT

for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    sleep 0.05
done
[ -s "$displayfile" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$displayfile")"
export SDL_AUDIODRIVER=dummy

"$game" &
game_pid=$!

# The loading window may carry the same title for a moment; the main window is
# the one of 685 x 391.
window=
for _ in $(seq 200); do
    for candidate in $(xdotool search --onlyvisible --name '^Lexipede$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$candidate")"
        if [ "$WIDTH" = 685 ] && [ "$HEIGHT" = 391 ]; then
            window=$candidate
            break 2
        fi
    done
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended before its window appeared"
    sleep 0.1
done
[ -n "$window" ] || fail "no 685 x 391 window titled Lexipede appeared"
echo "smoke: main window $window, ${WIDTH} x ${HEIGHT}, titled $(xdotool getwindowname "$window")"

# A write past a file size limit fails with an error instead of killing the
# game: SIGXFSZ (25) is ignored.
ignored=$(awk '/^SigIgn:/ { print $2 }' "/proc/$game_pid/status")
(( (16#$ignored >> 24) & 1 )) || fail "SIGXFSZ would kill the game (ignored signals $ignored)"

# Quit sits at 552, 272 and is 105 x 38.
xdotool mousemove --window "$window" 604 291 click 1
for _ in $(seq 100); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end after Quit"
wait "$game_pid"
code=$?
game_pid=
[ "$code" = 0 ] || fail "the game ended with $code"
echo "smoke: Quit ended the game with 0"
