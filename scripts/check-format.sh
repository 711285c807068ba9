#!/bin/sh
# Checks that every C and C++ source of the project follows .clang-format:
# the program (conversion/, media/, win/, ui/, app/, res/) and its tests, benchmarks and
# fuzzers (tests/, bench/, fuzz/). Prints what clang-format would change.
# Usage: check-format.sh   (then `clang-format -i FILE` mends a file)
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cd "$root" || exit 1
command -v clang-format >/dev/null || { echo "check-format: clang-format is not installed"; exit 1; }
files=$(find conversion media win ui app res tests bench fuzz -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) | sort)
# shellcheck disable=SC2086
if clang-format --dry-run --Werror $files; then
    echo "check-format: ok: $(echo "$files" | wc -l) files"
else
    echo "check-format: FAILED: the files above differ from .clang-format"
    exit 1
fi
