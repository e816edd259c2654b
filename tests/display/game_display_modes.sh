#!/usr/bin/env bash
# The real game on the X server in DISPLAY (Xorg with the dummy driver, started
# by display_modes_xorg.sh), driven by xdotool as a player would: F8, the
# 800x600 line, Apply, the notices dismissed with Enter, the first line and
# Apply again, Enter to close the dialog, Quit.
#   game_display_modes.sh GAME
set -uo pipefail
game=$1

fail() {
    echo "game display modes: $*" >&2
    exit 1
}

game_pid=
trap '[ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null' EXIT

# The visible window of the given size, if any.
window_of() {
    for candidate in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$candidate" 2>/dev/null)"
        if [ "${WIDTH:-}x${HEIGHT:-}" = "$1" ]; then
            echo "$candidate"
            return
        fi
    done
}

wait_for_window() {
    for _ in $(seq 100); do
        found=$(window_of "$1")
        [ -n "$found" ] && { echo "$found"; return; }
        kill -0 "$game_pid" 2>/dev/null || return
        sleep 0.1
    done
}

screen_size() {
    xrandr | sed -n 's/.*current \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'
}

# Presses Enter on each notice box (any window besides the game's two and the
# root) until none has come for a second; prints how many there were.
dismiss_notices() {
    local count=0 quiet=0 other
    while [ "$quiet" -lt 10 ] && [ "$count" -lt 10 ]; do
        other=
        for candidate in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
            case "$candidate" in "$main" | "$dialog" | "$root") ;; *) other=$candidate ;; esac
        done
        if [ -n "$other" ]; then
            [ "$(xdotool getwindowname "$other")" = Lexipede ] || fail "a window that is no notice"
            xdotool key Return
            count=$((count + 1))
            quiet=0
            sleep 0.3
        else
            quiet=$((quiet + 1))
            sleep 0.1
        fi
    done
    echo "$count"
}

root=$(xdotool search --maxdepth 0 --name '' 2>/dev/null | head -n1)
first=$(screen_size)
# The line of 800x600 is the first such mode in the output's list.
row=$(xrandr --verbose | awk '/^[A-Z]/ { on = / connected/ } on && /^  [0-9]+x[0-9]+ \(/ { n++; if ($1 == "800x600") { print n - 1; exit } }')
[ -n "$row" ] || fail "the server offers no 800x600 mode"

"$game" &
game_pid=$!
main=$(wait_for_window 685x391)
[ -n "$main" ] || fail "the game's window did not appear"

xdotool key F8
dialog=$(wait_for_window 430x407)
[ -n "$dialog" ] || fail "F8 opened no display mode dialog"

# Lines are 23 pixels high from the list's top at 120; Apply sits at 106, 353.
apply() {
    xdotool mousemove --window "$dialog" 200 $((120 + 23 * $1 + 11)) click 1
    xdotool mousemove --window "$dialog" 158 372 click 1
}
apply "$row"
notices=$(dismiss_notices)
[ "$notices" -ge 1 ] || fail "Apply brought no notice"
[ "$(screen_size)" = 800x600 ] || fail "the screen is $(screen_size) after applying 800x600"
echo "game display modes: 800x600 applied, $notices notice(s)"

apply 0
notices=$(dismiss_notices)
[ "$notices" -ge 1 ] || fail "Apply brought no notice"
[ "$(screen_size)" = "$first" ] || fail "the screen is $(screen_size), not $first, after applying the first line"
echo "game display modes: $first restored, $notices notice(s)"

xdotool key Return
for _ in $(seq 50); do
    [ -z "$(window_of 430x407)" ] && break
    sleep 0.1
done
[ -z "$(window_of 430x407)" ] || fail "Enter did not close the dialog"

# Quit sits at 552, 272 and is 105 x 38.
xdotool mousemove --window "$main" 604 291 click 1
for _ in $(seq 100); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
done
wait "$game_pid"
code=$?
game_pid=
[ "$code" = 0 ] || fail "the game ended with $code"
echo "game display modes: the game ended with 0"
