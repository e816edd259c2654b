#!/usr/bin/env bash
# Replays the seed corpus of every fuzz target, then fuzzes it for a while.
# usage: scripts/fuzz.sh BUILD_DIR SECONDS [TARGET...]
# A finding stops the run with a non-zero exit; its reproducer is kept under
# BUILD_DIR/fuzz-findings and named on the last lines.
set -euo pipefail
build=$1
seconds=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(dict_store_fuzz bonus_store_fuzz score_file_fuzz jpeg_fuzz clip_fuzz)
fi
findings=$build/fuzz-findings
mkdir -p "$findings"
export SDL_AUDIODRIVER=dummy

status=0
for target in "${targets[@]}"; do
  seeds=$root/tests/fuzz/seeds/$target
  # New inputs go to a scratch corpus; the committed seeds stay as they are.
  corpus=$build/fuzz-corpus/$target
  mkdir -p "$corpus" "$findings/$target"
  log=$findings/$target.log
  # The limits make a runaway allocation or a slow input a finding too.
  if "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -malloc_limit_mb=512 -print_final_stats=1 -artifact_prefix="$findings/$target/" \
       "$corpus" "$seeds" >"$log" 2>&1; then
    echo "$target: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') runs, no finding"
  else
    status=1
    tail -n 40 "$log"
    for reproducer in "$findings/$target"/*; do
      [ -e "$reproducer" ] && echo "FUZZ FINDING in $target: $reproducer"
    done
  fi
done
exit $status
