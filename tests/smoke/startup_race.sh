#!/usr/bin/env bash
# Starts the real game STARTS times on an X server of its own and clicks Quit
# each time: every start must bring up a window that answers, and end within a
# few seconds of the click. Two busy loops compete for the processors; or, with
# a preload library as third argument, the toolkit's start is delayed in each
# run instead, so helper threads surely run first.
#   startup_race.sh GAME STARTS [PRELOAD]
set -uo pipefail
game=$1
starts=$2
preload=${3:-}

source "$(dirname "$0")/x-session.sh"
errors=$(mktemp)
load_pids=()

fail() {
    echo "startup race: $*" >&2
    [ -s "$errors" ] && sed 's/^/  game stderr: /' "$errors" >&2
    exit 1
}

cleanup() {
    [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
    game_pid=
    for pid in "${load_pids[@]}"; do kill "$pid" 2>/dev/null; done
    stop_x_session
    rm -f "$errors"
}
trap cleanup EXIT
start_x_server

if [ -z "$preload" ]; then
    for _ in 1 2; do
        ( while :; do :; done ) &
        load_pids+=($!)
    done
fi

# The main window is the one of 685 x 391; Quit sits at 552, 272 and is 105 x 38.
main_window() {
    local candidate
    for candidate in $(xdotool search --onlyvisible --name '^Lexipede$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$candidate" 2>/dev/null)"
        if [ "${WIDTH:-}" = 685 ] && [ "${HEIGHT:-}" = 391 ]; then
            echo "$candidate"
            return
        fi
    done
}

for run in $(seq "$starts"); do
    if [ -n "$preload" ]; then
        LD_PRELOAD=$preload "$game" 2>"$errors" &
    else
        "$game" 2>"$errors" &
    fi
    game_pid=$!
    window=
    for _ in $(seq 300); do
        window=$(main_window)
        [ -n "$window" ] && break
        kill -0 "$game_pid" 2>/dev/null || fail "start $run: the game ended before its window appeared"
        sleep 0.05
    done
    [ -n "$window" ] || fail "start $run: no main window within 15 s"
    # A click may come before the window takes input at all; repeat it until
    # the game ends, for at most 5 s.
    ended=
    for _ in $(seq 10); do
        xdotool mousemove --window "$window" 604 291 click 1 2>/dev/null
        for _ in $(seq 10); do
            kill -0 "$game_pid" 2>/dev/null || { ended=1; break 2; }
            sleep 0.05
        done
    done
    # The Quit clip plays to its end before the game ends.
    for _ in $(seq 60); do
        kill -0 "$game_pid" 2>/dev/null || { ended=1; break; }
        sleep 0.05
    done
    [ -n "$ended" ] || fail "start $run: Quit was not answered within 8 s"
    wait "$game_pid"
    code=$?
    game_pid=
    [ "$code" = 0 ] || fail "start $run: the game ended with $code"
    grep -q "not created in the main() thread" "$errors" && fail "start $run: the toolkit started off its main thread"
done
echo "startup race: $starts starts, each answered Quit"
