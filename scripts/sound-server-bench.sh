#!/usr/bin/env bash
# Press to sound through a real sound server: starts pulseaudio with a null
# sink in a folder of its own and runs the benchmark against the sink's
# monitor. Usage: scripts/sound-server-bench.sh [BUILD_DIR]
set -euo pipefail
build=$(realpath "${1:-build}")
source "$(dirname "$0")/../tests/sound/sound-server.sh"
work=$(mktemp -d)
trap 'stop_sound_session; rm -rf "$work"' EXIT
start_sound_server pulseaudio "$work"
LEXIPEDE_MONITOR=lexi.monitor "$build/tests/bench/sound_server_bench"
