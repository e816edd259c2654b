#!/usr/bin/env bash
# A whole short game played from the keyboard alone: xdotool key presses and
# never the pointer, which stays where the server put it, over the middle of
# the screen. New Game, every die of the board walked over and picked, the
# bonus round solved, a word refused with its notice, Pause and Continue, Help,
# About, the sound dialog, the scores, then the end of the game with the name
# entry and the high-score window, the table viewed again, Minimize and Quit.
# Each window is known by the size of the window that has the keyboard focus.
# With LEXIPEDE_SHOTS set to a folder, screenshots are left there.
#
#   keyboard_game.sh GAME LEXIDICT
set -uo pipefail
game=$1
lexidict=$2
for tool in Xvfb xdotool dbus-daemon; do
    command -v "$tool" >/dev/null || { echo "keyboard: $tool is missing, skipped"; exit 77; }
done
source "$(dirname "$0")/x-session.sh"
folder=$(mktemp -d)
trap 'stop_x_session; rm -rf "$folder"' EXIT

# The game in a program folder of its own, with the shipped dictionary and a
# bonus store whose one word is AAAAA: the round is solved in whatever order
# its dice are picked, so the game scores 20 and earns a place in the table.
mkdir "$folder/program" "$folder/play"
cp "$game" "$folder/program/lexipede"
for file in Dict.idx Dict.dat; do
    ln -s "$(cd "$(dirname "$game")" && pwd)/$file" "$folder/program/$file"
done
echo aaaaa >"$folder/bonus-words"
"$lexidict" build --stem Bonus --length 5 --out "$folder/program" "$folder/bonus-words" >/dev/null ||
    fail "the bonus store could not be built"

shot() {
    [ -n "${LEXIPEDE_SHOTS:-}" ] && import -window root "$LEXIPEDE_SHOTS/keyboard-$1.png"
    return 0
}

key() {
    xdotool key --delay 40 "$@"
}

# The size of the window with the keyboard focus. Once a dialog has closed the
# focus is the root window's, and keys go to the window under the pointer,
# the main window: there is no window manager to give it back.
focused() {
    xdotool getwindowfocus getwindowgeometry 2>/dev/null | awk '/Geometry:/ { print $2 }'
}

main_window_has_keys() {
    case $(focused) in 685x391 | 1280x1024) return 0 ;; esac
    return 1
}

# wait_for SIZE WHAT [SECONDS]
wait_for() {
    for _ in $(seq $((${3:-15} * 10))); do
        if [ "$1" = main ] && main_window_has_keys || [ "$(focused)" = "$1" ]; then
            return 0
        fi
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended while waiting for $2"
        sleep 0.1
    done
    fail "$2 ($1) did not get the keyboard focus within ${3:-15} s (it is with $(focused))"
}

# Keys that open a window, then the window.
open() {
    local size=$1 what=$2
    shift 2
    key "$@"
    wait_for "$size" "$what"
    echo "keyboard: $* opened $what"
}

# Keys that close a window, then the main window again.
close() {
    key "$@"
    wait_for main "the main window after $*"
}

bonus_rounds=0
# One step on the board; the bonus die opens the round, whose five dice are
# picked from the left: Space and four times Right. A round opens within a
# second and a half, after its short clip.
step() {
    key "$1"
    for _ in $(seq 15); do
        if [ "$(focused)" = 334x405 ]; then
            bonus_rounds=$((bonus_rounds + 1))
            shot bonus-round-start
            key space Right Right Right
            shot bonus-round-cursor
            key Right
            wait_for 334x404 "the bonus result"
            shot bonus-result
            close Return
            echo "keyboard: the bonus round opened on the board and was solved from the keys"
            return
        fi
        sleep 0.1
    done
}

walk() {
    for move in "$@"; do
        step "$move"
    done
}

start_x_server
(cd "$folder/play" && exec "$folder/program/lexipede") &
game_pid=$!
wait_for_main_window "$game_pid"
# What a window manager does for a new window: give it the keyboard focus.
xdotool windowfocus --sync "$window"

# New Game has the focus; the board takes it with the game.
key space
sleep 0.5
shot board
# Every die, in rows: Space on the first, then along the rows and back. The
# round drops the word in progress; walking back picks what it dropped, so
# the word ends with 24 or 25 dice, longer than any word.
walk space Right Right Right Right Down Left Left Left Left Down \
    Right Right Right Right Down Left Left Left Left Down Right Right Right Right
walk Left Left Left Left Up Right Right Right Right Up Left Left Left Left Up \
    Right Right Right Right Up Left Left Left Left
[ "$bonus_rounds" = 1 ] || fail "walking the whole board opened $bonus_rounds bonus rounds, not 1"

# Shift+Tab goes back from the board to Add Word.
open 330x180 "the not-a-word notice" shift+Tab space
shot notice
close Return

# Add Word went grey and gave the focus back to the board; Tab goes on to
# Pause (New Game is hidden), then Help, About, Sound and Scores.
key Tab space
sleep 0.3
key space
open 430x410 "the help" Tab space
close Tab space # its text box has the focus; Tab goes to OK, which Space presses
open 330x180 "the about box" Tab space
close Return
open 330x179 "the sound dialog" Tab space
key space space # sound off and on again
shot sound
close Tab space
open 333x403 "the high-score table" Tab space
close Return

# The game runs out: the name entry, then the table with the new entry.
wait_for 332x404 "the name entry at the end of the game" 200
echo "keyboard: the game ended with the name entry"
key k e y s
shot name-entry
open 333x403 "the high-score table after the game" Return
shot table
close Return

# New Game has the focus again: Tab past Pause, Help, About and Sound.
open 333x403 "the high-score table from Scores" Tab Tab Tab Tab Tab space
close Return
entry=$(dd if="$folder/play/SCORES.DAT" bs=1 skip=1 count=4 2>/dev/null)
points=$(od -An -tu4 -j24 -N4 "$folder/play/SCORES.DAT" | tr -d ' ')
[ "$entry:$points" = keys:20 ] || fail "the table's first entry is $entry with $points, not keys with 20"
echo "keyboard: the table holds keys with 20 points"

# From Scores, Tab goes on past Quit to Minimize and Shift+Tab back to Quit.
# Without a window manager nothing minimizes the window; it goes on taking keys.
key Tab Tab space
sleep 0.3
key shift+Tab space
expect_zero_after_quit "$game_pid"
echo "keyboard: Quit ended the game with 0"
