#!/usr/bin/env bash
# The real game on Xvfb, playing through a real sound server (pulseaudio, or
# pipewire with its pulse server), pressed with xdotool, the sink's monitor
# recorded:
# - at the start screen, and a few seconds after the last clip of a running
#   game, the game holds no stream and the sink is suspended;
# - a press on a die is heard; so is one after the server was killed and
#   started again, whether the game's stream was closed or open then, and
#   after a press made while the server was away;
# - Quit's clip is waited for when the stream had to be opened first, and the
#   game still ends in time when the server dies in the middle of it;
# - with no server at all the Sound button shows its greyed face and Quit ends
#   the game without waiting.
set -uo pipefail
game=$1 kind=$2 source_dir=$3 pictures=$4
here=$(dirname "$0")
source "$here/../smoke/x-session.sh"
source "$here/sound-server.sh"
case $kind in
pipewire) need_tools pipewire wireplumber pipewire-pulse pw-cli ;;
*) need_tools "$kind" ;;
esac
need_tools Xvfb xdotool dbus-daemon python3 import compare pactl parec sox
work=$(mktemp -d)
trap 'stop_x_session; stop_sound_session; rm -rf "$work"' EXIT

# A control's rectangle in the main window's design: x y width height, and the
# file name of its picture on a second line.
control() {
    python3 "$here/../smoke/design.py" "$source_dir/app/TfrmMain.ui" "$1"
}

click_control() {
    local x y w h
    read -r x y w h < <(control "$1")
    xdotool mousemove --window "$window" $((x + w / 2)) $((y + h / 2)) click 1
}

# press_die COL ROW, off the diagonal: the hidden bonus die is nearly always on it.
press_die() {
    local x y w h
    read -r x y w h < <(control Grid)
    xdotool mousemove --window "$window" $((x + ($1 * 2 + 1) * w / 10)) \
        $((y + ($2 * 2 + 1) * h / 10)) click 1
}

# The control shows the picture of the hidden picture holder named.
shows_picture() {
    local x y w h picture
    read -r x y w h < <(control "$1")
    picture=$(control "$2" | tail -n1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root -crop "${w}x${h}+$((X + x))+$((Y + y))" "$work/control.png"
    local differing
    differing=$(compare -metric AE -fuzz 8% "$work/control.png" "$pictures/$picture" null: 2>&1)
    [ "${differing%%.*}" -lt $((w * h / 50)) ]
}

restart_sound_server() {
    start_sound_server "$kind" "$work/server" ||
        fail "the $kind server did not start: $(tail -n 5 "$work/server/server.log")"
}

start_game() {
    (cd "$work" && exec "$game") &
    game_pid=$!
    wait_for_main_window "$game_pid"
}

# Waits up to 15 s for the game to hold no stream and the sink to sleep.
expect_asleep() {
    local started=$SECONDS
    for _ in $(seq 150); do
        if [ "$(streams_of "$game_pid")" = 0 ] && [ "$(sink_state)" = SUSPENDED ]; then
            echo "$kind: $1: no stream, sink suspended after $((SECONDS - started)) s"
            return 0
        fi
        sleep 0.1
    done
    fail "$1: after 15 s the game holds $(streams_of "$game_pid") streams, the sink is $(sink_state)"
}

expect_heard() {
    local loudest
    loudest=$(loudest_during "${@:2}")
    [ "${loudest:-0}" -gt 1000 ] || fail "$1: not heard (largest sample ${loudest:-none})"
    echo "$kind: $1: heard (largest sample $loudest)"
}

click_quit() {
    quit_clicked=$(date +%s%N)
    click_control cmdQuit
}

# After the click on Quit: sets waited_ms to the milliseconds until the main
# window was gone, which is the game's own wait for Quit's clip, and expects the
# game to end with 0 within limit seconds of the click. What follows the window
# (SDL and the toolkit shutting down) is no part of the wait: a loaded machine
# stretches it to seconds.
expect_ended_within() {
    local limit=$1
    waited_ms=
    for _ in $(seq $((limit * 50))); do
        if [ -z "$waited_ms" ] && ! xdotool getwindowname "$window" >/dev/null 2>&1; then
            waited_ms=$((($(date +%s%N) - quit_clicked) / 1000000))
        fi
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.02
    done
    kill -0 "$game_pid" 2>/dev/null && fail "the game did not end within $limit s of Quit"
    [ -n "$waited_ms" ] || waited_ms=$((($(date +%s%N) - quit_clicked) / 1000000))
    wait "$game_pid" || fail "the game ended with $?"
    game_pid=
}

start_x_server
restart_sound_server
start_game
shows_picture cmdSound ImageSound || fail "the Sound button is greyed with a server running"
expect_asleep "start screen"

click_control cmdNewGame
sleep 1
expect_heard "a press on a die" press_die 1 0
expect_asleep "a running game after its last clip"

stop_sound_server
press_die 2 0 # dropped while the server is away
restart_sound_server
expect_heard "a press after the server was restarted" press_die 3 0

press_die 4 0
stop_sound_server
restart_sound_server
expect_heard "a press after the server died under an open stream" press_die 0 1

expect_asleep "before Quit"
start_recording
click_quit
expect_ended_within 10
loudest=$(loudest_recorded)
((waited_ms >= 1300)) || fail "Quit's 1.54 s clip was not waited for: the window went after $waited_ms ms"
[ "${loudest:-0}" -gt 1000 ] || fail "Quit's clip was not heard"
echo "$kind: Quit opened the stream, was heard and waited for: the window went after $waited_ms ms"

start_game
click_quit
sleep 0.4
stop_sound_server
expect_ended_within 10
((waited_ms < 4000)) || fail "the server died 0.4 s into Quit's clip, yet Quit waited $waited_ms ms"
echo "$kind: the server died 0.4 s into Quit's clip: the window went after $waited_ms ms, exit 0"

start_game
shows_picture cmdSound ImageNoSound || fail "no server, yet the Sound button is not greyed"
click_quit
expect_ended_within 10
((waited_ms < 1000)) || fail "no server, yet Quit waited $waited_ms ms (its clip lasts 1.54 s)"
echo "$kind: no server: the Sound button is greyed and the window went $waited_ms ms after Quit"
