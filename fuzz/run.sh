#!/bin/sh
# Builds the libFuzzer targets with clang in build/fuzz and runs each for a
# bounded time (FUZZ_SECONDS, default 60) from a copy of its seed corpus.
# Exits non-zero when a target finds a crash or a broken invariant; the input
# that did it is left in build/fuzz/artifacts/.
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build="$root/build/fuzz"
seconds="${FUZZ_SECONDS:-60}"

CC="${CC:-clang}" CXX="${CXX:-clang++}" cmake -S "$root" -B "$build" \
    -DBRAMKOT_FUZZ=ON -DBRAMKOT_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build.configure.log" 2>&1 ||
    { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j2 --target settings_load_fuzzer conversion_command_fuzzer \
    media_fuzzer

mkdir -p "$build/artifacts"
failed=
run_target() {
    name=$1 max_len=$2
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    cp "$here/corpus/$name"/* "$corpus/"
    echo "fuzz: $name for ${seconds}s (max_len $max_len)"
    if ! "$build/fuzz/$name" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" \
        "$corpus" >"$build/$name.log" 2>&1; then
        tail -40 "$build/$name.log"
        echo "fuzz: $name FAILED (log: $build/$name.log)"
        failed="$failed $name"
        return
    fi
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/$name.log" | tail -2
}
# A settings file is a few short lines; a command input holds five settings
# and a path of up to 499 characters.
run_target settings_load_fuzzer 4096
run_target conversion_command_fuzzer 2048
# Headers, tags and a few frames; real pictures would be larger.
run_target media_fuzzer 16384

if [ -n "$failed" ]; then
    echo "fuzz: FAILED:$failed"
    exit 1
fi
echo "fuzz: all targets ran clean"
