#!/usr/bin/env bash
# What a game sitting idle costs on a desktop's sound server: the game on Xvfb
# beside a pulseaudio of its own with a null sink, measured for 10 s at the
# start screen and again mid-game, 4 s after a press on a die: the sink's state,
# the game's playback streams, the CPU share of the game and of the server, and
# the wake-ups per second of every thread of both (context switches).
# Usage: scripts/measure-sound-idle.sh [GAME]
set -uo pipefail
game=$(realpath "${1:-build/lexipede}")
here=$(dirname "$0")
source "$here/../tests/smoke/x-session.sh"
source "$here/../tests/sound/sound-server.sh"
work=$(mktemp -d)
trap 'stop_x_session; stop_sound_session; rm -rf "$work"' EXIT

switches() { awk '/ctxt_switches/ { s += $2 } END { print s }' "$1/status"; }
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

measure() {
    local seconds=10 hz pid task
    hz=$(getconf CLK_TCK)
    declare -A before
    for pid in "$@"; do
        before[$pid]=$(ticks "$pid")
        for task in /proc/"$pid"/task/*; do before[$task]=$(switches "$task"); done
    done
    sleep "$seconds"
    for pid in "$@"; do
        echo "  $(cat "/proc/$pid/comm"): $(($(ticks "$pid") - before[$pid])) clock ticks of $((hz * seconds)) (CPU)"
        for task in /proc/"$pid"/task/*; do
            echo "    thread $(cat "$task/comm"): $((($(switches "$task") - ${before[$task]:-0}) / seconds)) wake-ups/s"
        done
    done
}

start_x_server
start_sound_server pulseaudio "$work/server" || fail "pulseaudio did not start"
(cd "$work" && exec "$game") 2>/dev/null &
game_pid=$!
wait_for_main_window "$game_pid"
sleep 4
echo "start screen: sink $(sink_state), game streams $(streams_of "$game_pid")"
measure "$game_pid" "${sound_server_pids[0]}"
xdotool mousemove --window "$window" 604 69 click 1 # New Game
sleep 1
xdotool mousemove --window "$window" 80 100 click 1 # a die
sleep 4
echo "mid-game, 4 s after a press: sink $(sink_state), game streams $(streams_of "$game_pid")"
measure "$game_pid" "${sound_server_pids[0]}"
