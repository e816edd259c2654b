#!/usr/bin/env bash
# Builds the Debian package, has lintian check it (no errors), installs it with
# apt-get, starts /usr/games/lexipede on an X server of its own until the main
# window shows, quits, and removes the package again, whatever happened.
# Needs root and apt; skipped (77) elsewhere.
set -uo pipefail
build=$1
source "$(dirname "$0")/../smoke/x-session.sh"

if [ "$(id -u)" != 0 ] || ! command -v apt-get >/dev/null; then
    echo "package test: needs root and apt-get, skipped"
    exit 77
fi

tmp=$(mktemp -d)
apt_options=(-o DPkg::Lock::Timeout=600 -y -q)
remove_package() {
    if dpkg-query -W -f='${Status}' lexipede 2>/dev/null | grep -q 'ok installed'; then
        DEBIAN_FRONTEND=noninteractive apt-get remove "${apt_options[@]}" lexipede >/dev/null ||
            echo "package test: could not remove lexipede" >&2
    fi
}
trap 'stop_x_session; remove_package; rm -rf "$tmp"' EXIT

# One package test at a time on this machine, whichever build folder it runs from.
lockdir=/run/lock
[ -d "$lockdir" ] || lockdir=/tmp
exec 9>"$lockdir/lexipede-package-test.lock"
flock -w 900 9 || fail "another package test held the lock for 15 minutes"

cpack --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -n 5 "$tmp/cpack.log")"
deb=$(ls "$tmp"/lexipede_*_amd64.deb 2>/dev/null)
[ -f "$deb" ] || fail "cpack made no lexipede_*_amd64.deb"

lintian --fail-on error "$deb" 2>&1 | grep -v 'running with root privileges'
[ "${PIPESTATUS[0]}" = 0 ] || fail "lintian reports errors on ${deb##*/}"
# SDL2 is loaded at run time, where the shared library scan cannot see it.
dpkg-deb -f "$deb" Depends | grep -q 'libsdl2-2.0-0' || fail "the package does not depend on SDL2"

DEBIAN_FRONTEND=noninteractive apt-get install "${apt_options[@]}" --no-install-recommends "$deb" \
    >"$tmp/apt.log" 2>&1 || fail "apt-get install failed: $(tail -n 5 "$tmp/apt.log")"
[ -x /usr/games/lexipede ] || fail "the package installed no /usr/games/lexipede"

mkdir -p "$tmp/home"
export HOME=$tmp/home
unset XDG_DATA_HOME
start_x_server
/usr/games/lexipede &
game_pid=$!
wait_for_main_window "$game_pid"
click_quit_and_expect_zero "$game_pid"

remove_package
[ -e /usr/games/lexipede ] && fail "removing the package left /usr/games/lexipede"
echo "package test: ${deb##*/} lintian-clean, installed, started, quit, removed"
