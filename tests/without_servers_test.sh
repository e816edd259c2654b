#!/usr/bin/env bash
# The suite as a build farm's clean chroot runs it: no DISPLAY, no D-Bus
# session, no sound server, an empty environment, and none of the display, bus,
# sound or compositor servers, the tools that drive them or the package tools on
# the PATH. Every test that needs one of them must be reported skipped, and
# every unit test must run and pass. The window tests, which need none, are
# left out: they are neither.
#   without_servers_test.sh CTEST BUILD_DIR
set -uo pipefail
ctest=$1
build=$(cd "$2" && pwd)

fail() {
    echo "without servers: $*" >&2
    exit 1
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
hidden=" X Xorg Xvfb Xwayland xdotool xrandr dbus-daemon dbus-launch dbus-run-session
  pulseaudio pipewire pipewire-pulse wireplumber pw-cli pactl parec sway swaymsg grim wtype
  mutter kwin_wayland kwin_wayland_wrapper weston apt-get dpkg-deb lintian "
mkdir "$tmp/bin" "$tmp/home"
for program in /usr/local/bin/* /usr/bin/* /bin/*; do
    name=${program##*/}
    [[ $hidden == *[[:space:]]"$name"[[:space:]]* ]] && continue
    [ -e "$tmp/bin/$name" ] || ln -s "$program" "$tmp/bin/$name"
done

# A test folder of its own that holds the build's tests, so this run's logs do
# not mix with those of the run it is part of; this test itself stays out.
mkdir "$tmp/tests"
echo "subdirs(\"$build\")" >"$tmp/tests/CTestTestfile.cmake"
env -i PATH="$tmp/bin" HOME="$tmp/home" \
    "$ctest" --test-dir "$tmp/tests" -LE window -E '^without_servers$' -j 2 >"$tmp/run.log" 2>&1
# "  3/40 Test  #3: name ......   Passed    0.01 sec": name, a tab, the outcome.
# Names may hold spaces (GoogleTest's parameters).
results=$(sed -E -n 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: (.*[^ ]) \.+ *(\*\*\*)?([A-Za-z]+).*/\1\t\3/p' \
    "$tmp/run.log")
units=$("$ctest" --test-dir "$build" -N -L unit | sed -E -n 's/^ *Test +#[0-9]+: (.*)$/\1/p' |
    grep -vx without_servers)
[ -n "$units" ] || fail "no test is labelled unit"

# What went wrong, without the hundreds of passed lines.
report() {
    grep -v -e ' Passed ' -e '^ *Start ' "$tmp/run.log" | sed 's/\.\.\.\.*/ ... /' >&2
    fail "$1"
}

passed=0 skipped=0
while IFS=$'\t' read -r name outcome; do
    if grep -qxF "$name" <<<"$units"; then
        [ "$outcome" = Passed ] || report "the unit test $name: $outcome"
        passed=$((passed + 1))
    else
        [ "$outcome" = Skipped ] || report "$name needs a display or a server, yet: $outcome"
        skipped=$((skipped + 1))
    fi
done <<<"$results"
[ "$passed" = "$(wc -l <<<"$units")" ] || fail "only $passed of $(wc -l <<<"$units") unit tests ran"
((skipped > 0)) || fail "no test that needs a server was run at all"
echo "without servers: $passed unit tests passed, the $skipped tests that need a display," \
    "a server or the package tools skipped"
