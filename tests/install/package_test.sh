#!/usr/bin/env bash
# Builds the Debian package, has lintian check it (no errors, no missing
# hardening), checks its relations and that it names no made-up address,
# installs it with apt-get, starts /usr/games/lexipede on an X server of its own
# with the display given only as an argument (the command passes its arguments
# on), quits, and removes the package again, whatever happened.
# It changes the machine, so it runs only when LEXIPEDE_ALLOW_PACKAGE_INSTALL=1
# says so (make test does), as root with apt; skipped (77) otherwise.
set -uo pipefail
build=$1
source "$(dirname "$0")/../smoke/x-session.sh"

if [ "${LEXIPEDE_ALLOW_PACKAGE_INSTALL:-}" != 1 ]; then
    echo "package test: installs into this machine, skipped without LEXIPEDE_ALLOW_PACKAGE_INSTALL=1"
    exit 77
fi
if [ "$(id -u)" != 0 ] || ! command -v apt-get >/dev/null; then
    echo "package test: needs root and apt-get, skipped"
    exit 77
fi
need_tools cpack lintian dpkg-deb flock Xvfb xdotool dbus-daemon

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

# The package names whoever makes it as its maintainer; this one is made by the
# test, under an address of the reserved .invalid domain.
DEBFULLNAME="Lexipede package test" DEBEMAIL=package-test@package-test.invalid \
    cpack --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -n 5 "$tmp/cpack.log")"
deb=$(ls "$tmp"/lexipede_*_amd64.deb 2>/dev/null)
[ -f "$deb" ] || fail "cpack made no lexipede_*_amd64.deb"

lintian -I --fail-on error "$deb" 2>&1 | grep -v 'running with root privileges' >"$tmp/lintian.log"
[ "${PIPESTATUS[0]}" = 0 ] || fail "lintian reports errors on ${deb##*/}: $(cat "$tmp/lintian.log")"
! grep hardening "$tmp/lintian.log" || fail "lintian finds the program built without hardening"
# SDL2 is loaded at run time, where the shared library scan cannot see it; the
# fonts are the faces the designs name; Wayland's plugin lets it run natively.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libsdl2-2.0-0 fonts-liberation fonts-comic-neue; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "the package does not depend on $package"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || fail "the package does not recommend qt6-wayland"
mkdir "$tmp/contents"
dpkg-deb -R "$deb" "$tmp/contents"
! grep -r -a -l 'example\.' "$tmp/contents" || fail "the package names a made-up example. address"

DEBIAN_FRONTEND=noninteractive apt-get install "${apt_options[@]}" --no-install-recommends "$deb" \
    >"$tmp/apt.log" 2>&1 || fail "apt-get install failed: $(tail -n 5 "$tmp/apt.log")"
[ -x /usr/games/lexipede ] || fail "the package installed no /usr/games/lexipede"

mkdir -p "$tmp/home"
export HOME=$tmp/home
unset XDG_DATA_HOME
start_x_server
display=$DISPLAY
env -u DISPLAY /usr/games/lexipede -display "$display" &
game_pid=$!
wait_for_main_window "$game_pid"
click_quit_and_expect_zero "$game_pid"

remove_package
[ -e /usr/games/lexipede ] && fail "removing the package left /usr/games/lexipede"
echo "package test: ${deb##*/} lintian-clean and hardened, depends on the fonts, recommends"
echo "  qt6-wayland, names no example. address; installed, started with -display, quit, removed"
