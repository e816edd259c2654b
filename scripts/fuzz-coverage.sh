#!/usr/bin/env bash
# Line coverage of the word stores and the score file code reached by the fuzz
# corpora: the committed seeds plus whatever a fuzz run has added under
# FUZZ_BUILD/fuzz-corpus. Builds its own tree with clang's source-based coverage.
#   scripts/fuzz-coverage.sh [FUZZ_BUILD] [COVERAGE_BUILD]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fuzz_build=${1:-build-fuzz}
build=${2:-build-fuzz-coverage}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DLEXIPEDE_FUZZ_COVERAGE=ON >/dev/null
cmake --build "$build" -j "${JOBS:-2}" --target dict_store_fuzz bonus_store_fuzz score_file_fuzz

profiles=$build/profiles
rm -rf "$profiles"
mkdir -p "$profiles"
objects=()
for target in dict_store_fuzz bonus_store_fuzz score_file_fuzz; do
  corpora=("$root/tests/fuzz/seeds/$target")
  [ -d "$fuzz_build/fuzz-corpus/$target" ] && corpora+=("$fuzz_build/fuzz-corpus/$target")
  echo "$target: $(find "${corpora[@]}" -type f | wc -l) inputs"
  LLVM_PROFILE_FILE="$profiles/$target.profraw" "$build/tests/fuzz/$target" -runs=0 \
    "${corpora[@]}" >/dev/null 2>&1
  objects+=(-object "$build/tests/fuzz/$target")
done
llvm-profdata-14 merge -sparse "$profiles"/*.profraw -o "$profiles/all.profdata"
llvm-cov-14 report -instr-profile="$profiles/all.profdata" "${objects[@]:1}" \
  "$root/wordstore" "$root/scores/ScoreKeeper.cpp" "$root/scores/ScoreTable.cpp" \
  "$root/platform/RecordFile.cpp" "$root/platform/AtomicFile.cpp"
