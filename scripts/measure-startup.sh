#!/usr/bin/env bash
# Times the game from process start to the main window's first paint, beside a
# bare frameless Qt window, on one Xvfb, RUNS times each, and prints medians.
#   scripts/measure-startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-15}

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$displayfile"' EXIT
while [ ! -s "$displayfile" ]; do sleep 0.05; done
export DISPLAY=":$(head -n1 "$displayfile")" LEXIPEDE_STARTUP_PROBE=1

# Milliseconds from launch to "first-paint" on stdout, then the program is ended.
time_one() {
    local start out pid
    out=$(mktemp)
    start=$(date +%s%3N)
    "$@" >"$out" 2>/dev/null &
    pid=$!
    while ! grep -q first-paint "$out"; do sleep 0.005; done
    kill "$pid"; wait "$pid" 2>/dev/null || true
    echo $(( $(awk '/first-paint/ {print $2}' "$out") - start ))
    rm -f "$out"
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

game=()
bare=()
for _ in $(seq "$runs"); do
    bare+=("$(time_one "$build/tools/startup/bare_window")")
    game+=("$(time_one "$build/lexipede")")
done
bare_median=$(printf '%s\n' "${bare[@]}" | median)
game_median=$(printf '%s\n' "${game[@]}" | median)
echo "bare window: median ${bare_median} ms over $runs runs (${bare[*]})"
echo "lexipede:    median ${game_median} ms over $runs runs (${game[*]})"
awk -v g="$game_median" -v b="$bare_median" 'BEGIN {printf "ratio: %.2f\n", g / b}'
