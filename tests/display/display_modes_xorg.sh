#!/usr/bin/env bash
# Starts Xorg with the dummy video driver on a display of its own, from the
# private configuration beside this script, and runs the display mode test on
# it, then the real game (game_display_modes.sh). Without a server the test skips (code 77), except under CI=true, where
# that is a failure.
#   display_modes_xorg.sh TEST_EXECUTABLE GAME
set -uo pipefail
test_program=$1
game=$2
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
xorg=
cleanup() {
    if [ -n "$xorg" ]; then
        kill "$xorg" 2>/dev/null
        for _ in $(seq 50); do
            kill -0 "$xorg" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$xorg" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

no_server() {
    echo "display modes: $*" >&2
    [ -f "$work/Xorg.log" ] && grep -F '(EE)' "$work/Xorg.log" >&2
    if [ "${CI:-}" = true ]; then
        exit 1
    fi
    echo "display modes: skipped, no X server with the dummy driver can start here" >&2
    exit 77
}

command -v Xorg >/dev/null || no_server "Xorg is not installed (xserver-xorg-core)"
for tool in xdotool xrandr dbus-run-session; do
    command -v "$tool" >/dev/null || no_server "$tool is not installed"
done
[ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
    no_server "the dummy video driver is not installed (xserver-xorg-video-dummy)"

# A configuration folder of our own, so that none of the machine's is read; the
# server wants at least one file in it.
mkdir "$work/conf.d"
echo "# all is in xorg-dummy.conf" >"$work/conf.d/empty.conf"
# The server lives at most as long as the test may take.
timeout 120 Xorg -config "$here/xorg-dummy.conf" -configdir "$work/conf.d" \
    -logfile "$work/Xorg.log" -noreset -nolisten tcp -displayfd 3 \
    3>"$work/display" >/dev/null 2>&1 &
xorg=$!
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    kill -0 "$xorg" 2>/dev/null || break
    sleep 0.05
done
[ -s "$work/display" ] || no_server "Xorg did not start"

export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
export SDL_AUDIODRIVER=dummy
timeout 90 "$test_program" || exit 1
# With a session bus of its own, as a desktop gives every program.
timeout 60 dbus-run-session -- "$here/game_display_modes.sh" "$game"
