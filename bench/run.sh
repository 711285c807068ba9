#!/bin/sh
# Benchmarks of the program under Wine; prints the figures, asserts nothing.
# This machine cannot run 32-bit programs, so every timed figure comes from
# the x86_64 build of the same sources; the shipped i686 program is only
# measured for its size. Usage: bench/run.sh   (BENCH_FILES, BENCH_DROP to scale)
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
scripts="$root/scripts"

# The dialog figures need an X display.
if [ -z "$BRAMKOT_BENCH_HAS_DISPLAY" ]; then
    export BRAMKOT_BENCH_HAS_DISPLAY=1
    exec "$scripts/with-display.sh" "$0" "$@"
fi

build="$root/build/bench-x86_64"
work="$build/work"
files="${BENCH_FILES:-200}"
drop="${BENCH_DROP:-10000}"
log="$work/bench.log"

echo "bench: building the x86_64 programs in $build" >&2
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >"$build.configure.log" 2>&1 ||
    { cat "$build.configure.log"; exit 1; }
targets="bench_run trivial_tool"
for t in bench_drop bramkot tool_shim; do
    grep -q "^$t:" "$build/Makefile" 2>/dev/null && targets="$targets $t"
done
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $targets >"$build.build.log" 2>&1 ||
    { tail -30 "$build.build.log"; exit 1; }

rm -rf "$work"
mkdir -p "$work"
: >"$log"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
wine_run() { "$scripts/wine-run" "$@"; }

echo "BRAMKOT benchmarks under Wine ($(wine --version 2>/dev/null || echo wine)), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "All timed figures: x86_64 build under 64-bit Wine (32-bit programs cannot run on this machine)."
echo

# Wine warm: the persistent server and the prefix's files in the page cache.
wine_run "$build/bench_run.exe" >/dev/null 2>&1 || true

# 1. Front-end overhead with trivial tools.
mkdir -p "$work/overhead"
tool=$(winpath "$build/trivial_tool.exe")
(cd "$work/overhead" && wine_run "$build/bench_run.exe" overhead "$tool" "$tool" "$files" >>"$log" 2>&1) ||
    echo "  (some outputs missing: see $log)"
cat "$work/overhead/bench-result.txt" 2>/dev/null || echo "front-end overhead: not measured: bench_run failed (see $log)"
echo

# 2. Real work: real Musepack files and the real tools through the test shim.
if [ -f "$build/tests/shim/tool_shim.exe" ] && command -v sox >/dev/null && command -v mpcenc >/dev/null &&
    [ -x /usr/bin/mpcdec ] && [ -x /usr/bin/lame ]; then
    mkdir -p "$work/real-tools" "$work/real-in" "$work/real"
    cp "$build/tests/shim/tool_shim.exe" "$work/real-tools/mppdec.exe"
    cp "$build/tests/shim/tool_shim.exe" "$work/real-tools/lame.exe"
    sox -n -r 44100 -c 2 -b 16 "$work/tone.wav" synth 30 sine 440 sine 660 vol 0.5
    mpcenc --silent --overwrite "$work/tone.wav" "$work/real-in/clip 01.mpc" >>"$log" 2>&1
    for i in $(seq -w 2 20); do cp "$work/real-in/clip 01.mpc" "$work/real-in/clip $i.mpc"; done
    (cd "$work/real" && wine_run "$build/bench_run.exe" realwork "$(winpath "$work/real-tools/mppdec.exe")" \
        "$(winpath "$work/real-tools/lame.exe")" "$(winpath "$work/real-in")" >>"$log" 2>&1) ||
        echo "  (some outputs missing: see $log)"
    cat "$work/real/bench-result.txt" 2>/dev/null || echo "real work: not measured: bench_run failed (see $log)"
else
    echo "real work: not measured: needs the test shim (tests/shim), sox, mpcenc, mpcdec and lame"
fi
echo

# 3. A drop of many names on the real dialog, in process.
if [ -f "$build/bench_drop.exe" ]; then
    mkdir -p "$work/drop"
    (cd "$work/drop" && wine_run "$build/bench_drop.exe" "$drop" 2>>"$log") ||
        echo "  (the list did not end as dropped)"
else
    echo "drop of $drop names: not measured: the dialog library (ui/, res/) is not there yet"
fi
echo

# 4. Start-up: process start until the dialog is on the screen, Wine warm.
if [ -f "$build/app/bramkot.exe" ] && command -v xdotool >/dev/null; then
    mkdir -p "$work/startup"
    echo "start-up, bramkot.exe until its dialog is visible (xdotool polling, Wine warm):"
    times=
    for run in 1 2 3 4 5 6; do
        start=$(date +%s%N)
        (cd "$work/startup" && exec "$scripts/wine-run" "$build/app/bramkot.exe") >>"$log" 2>&1 &
        pid=$!
        shown=
        for _ in $(seq 2000); do
            if xdotool search --onlyvisible --name '^BRAMKOT$' >/dev/null 2>&1; then
                shown=$(date +%s%N)
                break
            fi
            sleep 0.005
        done
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        # Until the window is gone, the next search would find this one.
        for _ in $(seq 200); do
            xdotool search --name '^BRAMKOT$' >/dev/null 2>&1 || break
            sleep 0.01
        done
        if [ -z "$shown" ]; then
            echo "  run $run: the dialog did not appear within 10 s"
            continue
        fi
        ms=$(((shown - start) / 1000000))
        # The first run fills the caches: reported, not counted.
        [ "$run" -gt 1 ] && times="$times $ms"
        echo "  run $run: $ms ms$([ "$run" = 1 ] && echo ' (cold, not counted)')"
    done
    if [ -n "$times" ]; then
        median=$(printf '%s\n' $times | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
        echo "  median of the warm runs: $median ms   (aim: under 200 ms)"
    fi
else
    echo "start-up: not measured: bramkot.exe (app/) or xdotool is missing"
fi
echo

# 5. Size of the program and the DLLs it imports, both builds.
i686="$build/i686-program"
cmake -S "$root" -B "$i686" -DCMAKE_BUILD_TYPE=Release -DBRAMKOT_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >"$i686.configure.log" 2>&1 &&
    cmake --build "$i686" -j2 --target bramkot >"$i686.build.log" 2>&1 || true
echo "size of bramkot.exe (aim: under 200 KB):"
for pair in "i686:$i686/app/bramkot.exe:i686-w64-mingw32-objdump" \
    "x86_64:$build/app/bramkot.exe:x86_64-w64-mingw32-objdump"; do
    arch=${pair%%:*} rest=${pair#*:}
    exe=${rest%%:*} objdump=${rest#*:}
    if [ ! -f "$exe" ]; then
        echo "  $arch: not measured: no bramkot.exe built"
        continue
    fi
    bytes=$(stat -c %s "$exe")
    dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')
    echo "  $arch: $bytes bytes ($((bytes / 1024)) KB), imports: $dlls"
done
echo
echo "bench: tool and command processor output is in $log"
