#!/usr/bin/env bash
# Draws every window of the game to docs/screenshots/<class>.png under an Xvfb
# of its own.   scripts/render-screenshots.sh [BUILD_DIR] [OUTDIR]
set -euo pipefail
build=${1:-build}
out=${2:-docs/screenshots}
mkdir -p "$out"
displayfile=$(mktemp)
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$displayfile"' EXIT
while [ ! -s "$displayfile" ]; do sleep 0.05; done
DISPLAY=":$(head -n1 "$displayfile")" "$build/tools/screenshots/render_windows" "$build" "$out"
echo "windows drawn into $out"
