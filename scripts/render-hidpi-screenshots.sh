#!/usr/bin/env bash
# Plays the start of a game on a 2560x1600 screen scaled by 2 and saves what the
# player sees: the main window mid-game, one die of the board, and the
# high-score window.
#   scripts/render-hidpi-screenshots.sh [PROGRAM_FOLDER] [OUTDIR] [PREFIX]
# PROGRAM_FOLDER holds lexipede and the word files (the build folder does).
set -euo pipefail
program=$(cd "${1:-build}" && pwd)
out=${2:-docs/screenshots}
prefix=${3:-scale2-}
mkdir -p "$out"
out=$(cd "$out" && pwd)

scratch=$(mktemp -d)
Xvfb -displayfd 3 -noreset -screen 0 2560x1600x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
game=
cleanup() {
    [ -n "$game" ] && kill "$game" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
while [ ! -s "$scratch/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n1 "$scratch/display")"

# SCORES.DAT goes into the scratch folder, the working directory of the game:
# a table of ten, 11 entries of a name length, 20 name bytes, 3 pad bytes and
# a little-endian int32 score.
python3 - "$scratch/SCORES.DAT" <<'PY'
import struct, sys
names = ["Marta", "Kofi", "Ines", "Tomasz", "Aiko", "Lior", "Nadia", "Bram", "Sunita", "Olle"]
entry = struct.Struct("<B20s3xi")
table = b"".join(entry.pack(len(n), n.encode(), 60 - 5 * i) for i, n in enumerate(names))
open(sys.argv[1], "wb").write(table + entry.pack(0, b"", 0))
PY
(cd "$scratch" && QT_SCALE_FACTOR=2 SDL_AUDIODRIVER=dummy exec "$program/lexipede") &
game=$!

# Waits for a window of the given device size and sets X and Y to its place.
find_window() {
    local id
    for _ in $(seq 300); do
        for id in $(xdotool search --name '' 2>/dev/null); do
            if xdotool getwindowgeometry "$id" | grep -q "Geometry: $1\$"; then
                eval "$(xdotool getwindowgeometry --shell "$id")"
                return 0
            fi
        done
        sleep 0.1
    done
    echo "no $2 appeared" >&2
    exit 1
}

find_window 1370x782 "main window" # 685 x 391 at scale 2

# Clicks at a point of the main window, in its own (unscaled) pixels.
click() {
    xdotool mousemove $((X + 2 * $1)) $((Y + 2 * $2)) click 1
    sleep 0.4
}
# Die (col, row) of the board at 29, 75, cells 47 x 47.
die() { click $((29 + 47 * $1 + 23)) $((75 + 47 * $2 + 23)); }

sleep 1
click 604 69 # New Game
die 0 0
die 1 0
die 1 1
xdotool mousemove 0 0
sleep 0.5
import -window root "$scratch/screen.png"
convert "$scratch/screen.png" -crop "1370x782+$X+$Y" +repage "$out/${prefix}TfrmMain-mid-game.png"
# Die (4, 4), unpicked, at its device pixels.
convert "$scratch/screen.png" -crop "94x94+$((X + 2 * (29 + 4 * 47)))+$((Y + 2 * (75 + 4 * 47)))" \
    +repage "$out/${prefix}die.png"

click 604 254 # Scores
find_window 666x806 "high-score window" # 333 x 403 at scale 2
sleep 0.5
import -window root "$scratch/screen.png"
convert "$scratch/screen.png" -crop "666x806+$X+$Y" +repage "$out/${prefix}TfrmHighScores.png"
echo "screens drawn into $out"
