#!/usr/bin/env bash
# Starts the real game on an X server of its own, finds the main window, checks
# its title and client size and that a file size limit cannot kill it, clicks
# Quit, and expects the game to end with 0.
set -uo pipefail
game=$1
source "$(dirname "$0")/x-session.sh"
trap stop_x_session EXIT

start_x_server
"$game" &
game_pid=$!
wait_for_main_window "$game_pid"
echo "smoke: main window $window, ${WIDTH} x ${HEIGHT}, titled $(xdotool getwindowname "$window")"

# A write past a file size limit fails with an error instead of killing the
# game: SIGXFSZ (25) is ignored.
ignored=$(awk '/^SigIgn:/ { print $2 }' "/proc/$game_pid/status")
(( (16#$ignored >> 24) & 1 )) || fail "SIGXFSZ would kill the game (ignored signals $ignored)"

click_quit_and_expect_zero "$game_pid"
echo "smoke: Quit ended the game with 0"
