# Sourced by the tests that run the real game on an X server of their own:
#   start_x_server             starts Xvfb on a display it picks (LEXIPEDE_X_DISPLAY=:N
#                              names one), and a D-Bus session bus, as a desktop gives
#                              every program; exports both
#   wait_for_main_window PID   sets window to the game's 685 x 391 main window
#   click_quit_and_expect_zero PID
#   expect_zero_after_quit PID  waits for the game to end after Quit, with 0
#   stop_x_session             kills the game (game_pid), the server and the bus; call it
#                              from the trap

game_pid=
xvfb_pid=
bus_pid=
displayfile=

fail() {
    echo "${0##*/}: $*" >&2
    exit 1
}

stop_x_session() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
    [ -n "$displayfile" ] && rm -f "$displayfile"
    game_pid=
    xvfb_pid=
    bus_pid=
}

start_x_server() {
    displayfile=$(mktemp)
    Xvfb ${LEXIPEDE_X_DISPLAY:-} -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$displayfile" ] && break
        sleep 0.05
    done
    [ -s "$displayfile" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$displayfile")"
    export SDL_AUDIODRIVER=dummy
    # Without a session bus, the toolkit's accessibility bridge and SDL's thread
    # priority call each start dbus-launch, which under load can hang the game's
    # start for good.
    local bus
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) ||
        fail "the D-Bus session did not start"
    export DBUS_SESSION_BUS_ADDRESS=$(head -n1 <<<"$bus")
    bus_pid=$(sed -n 2p <<<"$bus")
}

# The loading window may carry the same title for a moment; the main window is
# the one of 685 x 391.
wait_for_main_window() {
    window=
    for _ in $(seq 200); do
        for candidate in $(xdotool search --onlyvisible --name '^Lexipede$' 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$candidate")"
            if [ "$WIDTH" = 685 ] && [ "$HEIGHT" = 391 ]; then
                window=$candidate
                return 0
            fi
        done
        kill -0 "$1" 2>/dev/null || fail "the game ended before its window appeared"
        sleep 0.1
    done
    fail "no 685 x 391 window titled Lexipede appeared"
}

# Quit sits at 552, 272 and is 105 x 38.
click_quit_and_expect_zero() {
    xdotool mousemove --window "$window" 604 291 click 1
    expect_zero_after_quit "$1"
}

expect_zero_after_quit() {
    for _ in $(seq 100); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$1" 2>/dev/null && fail "the game did not end after Quit"
    wait "$1"
    local code=$?
    game_pid=
    [ "$code" = 0 ] || fail "the game ended with $code"
}
