#!/usr/bin/env bash
# Installs into a staging folder (DESTDIR), checks the files, validates the menu
# entry and the software centre metadata, then runs the staged lexipede command
# with a home of its own: opening the high-score window must create SCORES.DAT
# in $XDG_DATA_HOME/lexipede and nowhere else; where that folder cannot be made,
# the game starts in the folder it was started from.
set -uo pipefail
build=$1
source "$(dirname "$0")/../smoke/x-session.sh"
need_tools Xvfb xdotool dbus-daemon desktop-file-validate appstreamcli identify man readelf

tmp=$(mktemp -d)
trap 'stop_x_session; rm -rf "$tmp"' EXIT

stage=$tmp/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null || fail "cmake --install failed"

expected="usr/games/lexipede
usr/lib/games/lexipede/Bonus.dat
usr/lib/games/lexipede/Bonus.idx
usr/lib/games/lexipede/Dict.dat
usr/lib/games/lexipede/Dict.idx
usr/lib/games/lexipede/lexipede
usr/share/applications/lexipede.desktop
usr/share/doc/lexipede/LICENSE
usr/share/doc/lexipede/NEWS
usr/share/doc/lexipede/README.md
usr/share/doc/lexipede/WORDLIST-COPYRIGHT
usr/share/doc/lexipede/copyright
usr/share/icons/hicolor/128x128/apps/lexipede.png
usr/share/icons/hicolor/16x16/apps/lexipede.png
usr/share/icons/hicolor/22x22/apps/lexipede.png
usr/share/icons/hicolor/24x24/apps/lexipede.png
usr/share/icons/hicolor/256x256/apps/lexipede.png
usr/share/icons/hicolor/32x32/apps/lexipede.png
usr/share/icons/hicolor/48x48/apps/lexipede.png
usr/share/icons/hicolor/64x64/apps/lexipede.png
usr/share/icons/hicolor/scalable/apps/lexipede.svg
usr/share/man/man6/lexipede.6.gz
usr/share/metainfo/org.lexipede.lexipede.metainfo.xml"
installed=$(cd "$stage" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[ "$installed" = "$expected" ] ||
    fail "installed files differ from the expected ones:$(diff <(echo "$expected") <(echo "$installed"))"
[ -x "$stage/usr/games/lexipede" ] || fail "the lexipede command is not executable"
! readelf -d "$stage/usr/lib/games/lexipede/lexipede" | grep -E 'R(UN)?PATH' ||
    fail "the installed game has a runtime path"

for size in 16 22 24 32 48 64 128 256; do
    identity=$(identify -format '%w %h' "$stage/usr/share/icons/hicolor/${size}x${size}/apps/lexipede.png")
    [ "$identity" = "$size $size" ] || fail "the ${size}-pixel icon is $identity"
done
desktop-file-validate "$stage/usr/share/applications/lexipede.desktop" ||
    fail "desktop-file-validate refused the menu entry"
appstreamcli validate --no-net --pedantic \
    "$stage/usr/share/metainfo/org.lexipede.lexipede.metainfo.xml" ||
    fail "appstreamcli refused the metadata"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$stage/usr/share/man/man6/lexipede.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page has warnings: $warnings"

# The player's folders, and a working directory and a temporary folder where a
# stray SCORES.DAT would be found too.
mkdir -p "$tmp/home" "$tmp/elsewhere" "$tmp/tmpdir"
export HOME=$tmp/home XDG_DATA_HOME=$tmp/home/data TMPDIR=$tmp/tmpdir
scores=$XDG_DATA_HOME/lexipede/SCORES.DAT

start_x_server
(cd "$tmp/elsewhere" && exec "$stage/usr/games/lexipede") &
game_pid=$!
wait_for_main_window "$game_pid"
[ "$(stat -c %a "$XDG_DATA_HOME/lexipede")" = 700 ] || fail "the player's folder is not mode 0700"
[ "$(readlink "/proc/$game_pid/cwd")" = "$XDG_DATA_HOME/lexipede" ] ||
    fail "the game does not run in the player's folder"

# High Scores sits at 552, 235 and is 105 x 38; the window loads the table.
xdotool mousemove --window "$window" 604 254 click 1
for _ in $(seq 100); do
    [ -f "$scores" ] && break
    sleep 0.1
done
[ -f "$scores" ] || fail "opening the high-score window made no $scores"
xdotool key Return
click_quit_and_expect_zero "$game_pid"

found=$(find "$tmp" -name SCORES.DAT)
[ "$found" = "$scores" ] || fail "SCORES.DAT is not only in the player's folder: $found"
echo "staged install: $(echo "$installed" | wc -l) files, valid, SCORES.DAT only in $scores"

# A data folder that cannot be made: the command says so and starts the game
# where it was started.
XDG_DATA_HOME=/proc/lexipede-data "$stage/usr/games/lexipede" 2>"$tmp/launcher.err" &
game_pid=$!
wait_for_main_window "$game_pid"
grep -q "cannot use /proc/lexipede-data/lexipede" "$tmp/launcher.err" ||
    fail "the command did not say it cannot make the data folder: $(cat "$tmp/launcher.err")"
[ "$(readlink "/proc/$game_pid/cwd")" = "$(pwd -P)" ] ||
    fail "without its data folder the game does not run where it was started"
click_quit_and_expect_zero "$game_pid"
echo "staged install: without a data folder the command says so and starts the game in $(pwd -P)"
