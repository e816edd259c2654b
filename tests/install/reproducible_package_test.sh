#!/usr/bin/env bash
# Makes the Debian package twice from one build, as two rebuilders would: under
# the umasks 022 and 002, two time zones and two locales, from two folders, with
# SOURCE_DATE_EPOCH set as Debian's tools set it; the two must be the same
# bytes. Where they differ, says which members and files do.
#   reproducible_package_test.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)

fail() {
    echo "reproducible package: $*" >&2
    exit 1
}
command -v dpkg-deb >/dev/null || {
    echo "reproducible package: skipped, dpkg-deb is not installed here" >&2
    exit 77
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export SOURCE_DATE_EPOCH=1765152000 DEBFULLNAME="Lexipede rebuilder"
export DEBEMAIL=rebuilder@rebuilder.invalid

# make_package FOLDER UMASK TZ LC_ALL
make_package() {
    mkdir -p "$1"
    (cd "$1" && umask "$2" && TZ=$3 LC_ALL=$4 cpack --config "$build/CPackConfig.cmake" -B "$1" \
        >"$1/cpack.log" 2>&1) || fail "cpack failed in $1: $(tail -n 5 "$1/cpack.log")"
    ls "$1"/lexipede_*_amd64.deb 2>/dev/null || fail "cpack made no lexipede_*_amd64.deb in $1"
}
first=$(make_package "$tmp/one" 022 UTC0 C.UTF-8)
second=$(make_package "$tmp/second/folder" 002 LEX-13:45 POSIX)

if ! cmp -s "$first" "$second"; then
    echo "the two packages differ:" >&2
    for deb in "$first" "$second"; do
        echo "${deb#"$tmp"/}: $(ar tvO "$deb" 2>/dev/null | tr '\n' ';')" >&2
        dpkg-deb -c "$deb" >"$deb.contents"
    done
    diff "$first.contents" "$second.contents" >&2
    fail "not the same bytes under another umask, time zone, locale and folder"
fi
echo "reproducible package: ${first##*/} the same $(stat -c %s "$first") bytes twice," \
    "sha256 $(sha256sum "$first" | cut -c1-16)..."
