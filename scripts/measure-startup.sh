#!/usr/bin/env bash
# Times the game from launch to its main window mapped and first painted (and
# the loading window mapped), beside a bare frameless Qt window of the same
# size, interleaved on one Xvfb, RUNS times each; prints medians, the ratio and
# peak memory. Each run has a time limit, so a broken build cannot hang this.
# Further build folders (another checkout's, before a change) are timed in the
# same rounds.
#   scripts/measure-startup.sh [BUILD_DIR] [RUNS] [OTHER_BUILD_DIR...]
set -euo pipefail
build=${1:-build}
runs=${2:-15}
others=()
for other in "${@:3}"; do others+=("$other/lexipede"); done

displayfile=$(mktemp)
runtime=$(mktemp -d) # a session's runtime folder, as a desktop gives every program
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$displayfile" "$runtime"' EXIT
for _ in $(seq 200); do [ -s "$displayfile" ] && break; sleep 0.05; done
[ -s "$displayfile" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$displayfile")" XDG_RUNTIME_DIR="$runtime"

# A session bus too, as a desktop gives every program: without one, the first
# D-Bus client of each program (the toolkit's accessibility, SDL) starts
# dbus-launch to look for one, which is no desktop's start-up. NO_SESSION_BUS=1
# measures that case.
if [ -z "${NO_SESSION_BUS:-}" ]; then
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
    export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | head -n1)
    buspid=$(echo "$bus" | sed -n 2p)
    trap 'kill $xvfb $buspid 2>/dev/null; rm -rf "$displayfile" "$runtime"' EXIT
fi

"$build/tools/startup/startup_timer" --runs "$runs" --limit 10 \
    "$build/tools/startup/bare_window" "${others[@]}" "$build/lexipede"
