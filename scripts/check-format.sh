#!/usr/bin/env bash
# Fails, naming them, when any of our C++ files is not laid out as .clang-format
# says. The build folders and generated files are not ours to check.
set -euo pipefail
cd "$(dirname "$0")/.."
files=()
while IFS= read -r file; do
    [ -f "$file" ] && files+=("$file")
done < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
report=$(clang-format --dry-run --Werror "${files[@]}" 2>&1) || {
    sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: .*/not formatted: \1/p' <<<"$report" | sort -u >&2
    [ -n "$report" ] && head -n 5 <<<"$report" >&2
    exit 1
}
echo "format: ${#files[@]} files as .clang-format lays them out"
