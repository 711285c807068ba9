#!/bin/sh
# Benchmarks of the program under Wine; prints the figures, asserts nothing.
# Times the shipped i686 build wherever Wine here runs 32-bit programs, and
# the x86_64 build of the same sources elsewhere (the choice scripts/wine-arch
# makes for the tests). Runs in a Wine prefix and on an X display of its own.
# Usage: bench/run.sh   (BENCH_FILES, BENCH_DROP="1000 20000" to scale; BENCH_PARTS="1 12" for some)
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
scripts="$root/scripts"

# Asked in the project's prefix, as the tests ask it.
arch=$("$scripts/wine-arch")
build="$root/build/bench-$arch"
work="$build/work"
files="${BENCH_FILES:-200}"
drop="${BENCH_DROP:-1000 10000 20000}"
log="$work/bench.log"
parts="${BENCH_PARTS:-1 12 2 3 4 5 6 7 8 9 10 11}"

echo "bench: building the $arch programs in $build" >&2
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" >"$build.configure.log" 2>&1 ||
    { cat "$build.configure.log"; exit 1; }
targets="bench_run trivial_tool empty_window"
for t in bench_drop bench_folder bench_answer bramkot tool_shim fake_decoder fake_encoder; do
    grep -q "^$t:" "$build/Makefile" 2>/dev/null && targets="$targets $t"
done
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $targets >"$build.build.log" 2>&1 ||
    { tail -30 "$build.build.log"; exit 1; }

# A Wine prefix and an X display of the benchmarks' own: other programs in a
# shared prefix share its window list and its temporary folder, and on a
# shared display they share the windows that the start-up figure looks for.
# A 64-bit prefix runs both builds: scripts/wine-run picks the loader that
# matches each program, with the one 64-bit server.
prefix="$build/wine-prefix"
export WINEPREFIX="$prefix"
if [ ! -f "$prefix/.bench-ready" ]; then
    echo "bench: creating the Wine prefix $prefix" >&2
    rm -rf "$prefix"
    mkdir -p "$prefix"
    WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINELOADER=/usr/lib/wine/wine64 \
        /usr/lib/wine/wine64 wineboot -i </dev/null >"$build/wineboot.log" 2>&1 || true
    /usr/lib/wine/wineserver64 -w </dev/null >/dev/null 2>&1 || true
    cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
    touch "$prefix/.bench-ready"
fi
display=
# Numbers above the ones scripts/with-display.sh picks (90 to 189).
for n in $(seq 200 259); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "bench: no free X display number" >&2; exit 1; }
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# The private prefix's server is ours to stop, and the display with it.
cleanup() {
    /usr/lib/wine/wineserver64 -k </dev/null >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

rm -rf "$work"
mkdir -p "$work"
: >"$log"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
wine_run() { "$scripts/wine-run" "$@"; }

echo "BRAMKOT benchmarks under Wine ($(/usr/lib/wine/wine64 --version 2>/dev/null)), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
if [ "$arch" = i686 ]; then
    echo "All timed figures: the i686 build, as shipped, under Wine's 32-bit loader."
else
    echo "All timed figures: the x86_64 build of the same sources under 64-bit Wine (Wine here cannot run 32-bit programs)."
fi
echo

# Wine warm: the persistent server and the prefix's files in the page cache.
wine_run "$build/bench_run.exe" >/dev/null 2>&1 || true

# Runs bench_run with the trivial tools in $work/<folder> and prints its
# figures: <folder> <what> <mode> <count>.
bench_trivial() {
    mkdir -p "$work/$1"
    tool=$(winpath "$build/trivial_tool.exe")
    (cd "$work/$1" && wine_run "$build/bench_run.exe" "$3" "$tool" "$tool" "$4" >>"$log" 2>&1) ||
        echo "  (some outputs missing: see $log)"
    cat "$work/$1/bench-result.txt" 2>/dev/null || echo "$2: not measured: bench_run failed (see $log)"
}

# 1. Front-end overhead with trivial tools.
bench_overhead() { bench_trivial overhead "front-end overhead" overhead "$files"; }

# 12. Where one file's time goes in figure 1's run.
bench_steps() { bench_trivial steps "one file's steps" steps "${BENCH_STEPS:-40}"; }

# 2. Real work: real Musepack files and the real tools through the test shim.
bench_real_work() {
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
}

# 6. The work after the pipeline on a 4-minute file with tags and a 300 KB
# cover picture: the length check and the tag copy, against the real tools.
bench_finish() {
    if [ -f "$build/tests/shim/tool_shim.exe" ] && command -v sox >/dev/null && command -v mpcenc >/dev/null &&
        [ -x /usr/bin/mpcdec ] && [ -x /usr/bin/lame ] && /usr/bin/python3 -c 'import mutagen' 2>/dev/null; then
        mkdir -p "$work/finish-tools" "$work/finish"
        cp "$build/tests/shim/tool_shim.exe" "$work/finish-tools/mppdec.exe"
        cp "$build/tests/shim/tool_shim.exe" "$work/finish-tools/lame.exe"
        sox -n -r 44100 -c 2 -b 16 "$work/long.wav" synth 240 sine 440 sine 660 vol 0.5
        mpcenc --silent --overwrite --artist "An Artist" --album "An Album" --title "A Title" \
            "$work/long.wav" "$work/finish/long.mpc" >>"$log" 2>&1
        # A JPEG's first bytes, then 300 KB that no picture reader looks into here.
        { printf '\377\330\377\340'; head -c 307200 /dev/urandom; } >"$work/cover.jpg"
        /usr/bin/python3 -c 'import sys
from mutagen.apev2 import APEv2, APEValue, BINARY
tag = APEv2(sys.argv[1])
tag["Cover Art (Front)"] = APEValue(b"cover.jpg\0" + open(sys.argv[2], "rb").read(), BINARY)
tag.save(sys.argv[1])' "$work/finish/long.mpc" "$work/cover.jpg"
        (cd "$work/finish" && wine_run "$build/bench_run.exe" finish "$(winpath "$work/finish-tools/mppdec.exe")" \
            "$(winpath "$work/finish-tools/lame.exe")" "$(winpath "$work/finish/long.mpc")" >>"$log" 2>&1) ||
            echo "  (the length check or the tag copy did not do its work: see $log)"
        cat "$work/finish/bench-result.txt" 2>/dev/null || echo "work after the pipeline: not measured: bench_run failed (see $log)"
    else
        echo "work after the pipeline: not measured: needs the test shim (tests/shim), sox, mpcenc, mpcdec, lame and python3-mutagen"
    fi
}

# 7. The second name a file outside the ANSI code page gets for the tools.
bench_alias() {
    mkdir -p "$work/alias"
    (cd "$work/alias" && wine_run "$build/bench_run.exe" alias 30 >>"$log" 2>&1) ||
        echo "  (a link or a copy could not be made: see $log)"
    cat "$work/alias/bench-result.txt" 2>/dev/null || echo "second name: not measured: bench_run failed (see $log)"
}

# 3. A drop of many names on the real dialog, in process, one drop per size.
bench_drop() {
    if [ -f "$build/bench_drop.exe" ]; then
        mkdir -p "$work/drop"
        for count in $drop; do
            (cd "$work/drop" && wine_run "$build/bench_drop.exe" "$count" 2>>"$log") ||
                echo "  (the list did not end as dropped)"
        done
    else
        echo "drop of $drop names: not measured: the dialog library (ui/, res/) is not there yet"
    fi
}

# 4. Start-up: process start until the dialog is on the screen, Wine warm.
# Prints the runs of `exe` until a visible window titled `title` appears; the
# first run fills the caches and is not counted.
time_startup() {
    exe=$1 title=$2
    times=
    for run in 1 2 3 4 5 6; do
        start=$(date +%s%N)
        (cd "$work/startup" && exec "$scripts/wine-run" "$exe") >>"$log" 2>&1 &
        pid=$!
        shown=
        for _ in $(seq 2000); do
            if xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; then
                shown=$(date +%s%N)
                break
            fi
            sleep 0.005
        done
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        # Until the window is gone, the next search would find this one.
        for _ in $(seq 200); do
            xdotool search --name "^$title\$" >/dev/null 2>&1 || break
            sleep 0.01
        done
        if [ -z "$shown" ]; then
            printf " (run %s: no window within 10 s)" "$run"
            continue
        fi
        ms=$(((shown - start) / 1000000))
        [ "$run" -gt 1 ] && times="$times $ms"
        printf ' %s' "$ms$([ "$run" = 1 ] && echo ' (cold)')"
    done
    median=$(printf '%s\n' $times | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
    echo "; median of the warm runs: ${median:-none} ms"
}

bench_startup() {
    if [ -f "$build/app/bramkot.exe" ] && command -v xdotool >/dev/null; then
        mkdir -p "$work/startup"
        echo "start-up, process start until the window is visible (xdotool polling, Wine warm), ms:"
        printf '  bramkot.exe, its dialog (aim: under 200 ms):'
        time_startup "$build/app/bramkot.exe" BRAMKOT
        printf '  for comparison, a program of one empty window:'
        time_startup "$build/empty_window.exe" "EMPTY WINDOW"
    else
        echo "start-up: not measured: bramkot.exe (app/) or xdotool is missing"
    fi
}

# 5. Size of the program and the DLLs it imports: the timed build and, where
# that is the x86_64 one, the shipped i686 program as well.
bench_size() {
    i686="$build/app"
    if [ "$arch" != i686 ]; then
        i686="$build/i686-program"
        cmake -S "$root" -B "$i686" -DCMAKE_BUILD_TYPE=Release -DBRAMKOT_TESTS=OFF \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >"$i686.configure.log" 2>&1 &&
            cmake --build "$i686" -j2 --target bramkot >"$i686.build.log" 2>&1 || true
        i686="$i686/app"
    fi
    echo "size of bramkot.exe (aim: under 256 KB):"
    for pair in "i686:$i686/bramkot.exe:i686-w64-mingw32-objdump" \
        "x86_64:$build/app/bramkot.exe:x86_64-w64-mingw32-objdump"; do
        which=${pair%%:*} rest=${pair#*:}
        [ "$arch" = i686 ] && [ "$which" = x86_64 ] && continue
        exe=${rest%%:*} objdump=${rest#*:}
        if [ ! -f "$exe" ]; then
            echo "  $which: not measured: no bramkot.exe built"
            continue
        fi
        bytes=$(stat -c %s "$exe")
        dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')
        echo "  $which: $bytes bytes ($((bytes / 1024)) KB), imports: $dlls"
    done
}

# 8. The window during a run of slow stand-ins (2 s a file): the longest
# time it took to answer a message.
bench_answer() {
    if [ -f "$build/bench_answer.exe" ] && [ -f "$build/tests/tools/fake_decoder.exe" ]; then
        mkdir -p "$work/answer"
        echo "the window during a run of tools that take 2 s a file, asked every 100 ms:"
        for at_once in 1 0; do
            (cd "$work/answer" && BRAMKOT_DELAY_DECODER_MS=2000 wine_run "$build/bench_answer.exe" \
                "$(winpath "$build/tests/tools/fake_decoder.exe")" \
                "$(winpath "$build/tests/tools/fake_encoder.exe")" 6 "$at_once" 2>>"$log") ||
                echo "  (the run did not end with an empty list, or a message waited 500 ms or more)"
        done
    else
        echo "answer time: not measured: bench_answer or the stand-in tools are missing"
    fi
}

# 9. "Files at once": 16 files of 30 s with the Windows builds of the real
# tools (scripts/build-windows-tools.sh), one at a time against one per
# processor.
bench_parallel() {
    tools=$("$scripts/build-windows-tools.sh" "$arch" 2>>"$log") || tools=
    if [ -n "$tools" ] && command -v sox >/dev/null && command -v mpcenc >/dev/null; then
        mkdir -p "$work/parallel-in" "$work/parallel"
        sox -n -r 44100 -c 2 -b 16 "$work/tone.wav" synth 30 sine 440 sine 660 vol 0.5
        mpcenc --silent --overwrite "$work/tone.wav" "$work/parallel-in/clip 01.mpc" >>"$log" 2>&1
        for i in $(seq -w 2 16); do cp "$work/parallel-in/clip 01.mpc" "$work/parallel-in/clip $i.mpc"; done
        (cd "$work/parallel" && wine_run "$build/bench_run.exe" parallel \
            "$(winpath "$tools/mpcdec.exe")" "$(winpath "$tools/lame.exe")" \
            "$(winpath "$work/parallel-in")" >>"$log" 2>&1) || echo "  (some outputs missing: see $log)"
        cat "$work/parallel/bench-result.txt" 2>/dev/null || echo "files at once: not measured: bench_run failed (see $log)"
    else
        echo "files at once: not measured: needs the Windows tools (scripts/build-windows-tools.sh), sox and mpcenc"
    fi
}

# 10. A dropped folder of 20,000 files in 2,000 folders (20 artists of 100
# albums of 10 tracks, and a cover in each album): until the list holds them
# all, and the longest the window took meanwhile to answer.
bench_folder() {
    if [ -f "$build/bench_folder.exe" ]; then
        tree="$work/folder/Music"
        if [ ! -f "$tree/.made" ]; then
            rm -rf "$tree"
            for a in $(seq -w 1 20); do
                for b in $(seq 1 100); do
                    album="$tree/Artist $a/Album $b"
                    mkdir -p "$album"
                    (cd "$album" && touch "1 Intro.mpc" "2 Song.mpc" "3 Song.mpc" "4 Song.mpc" \
                        "5 Song.mpc" "6 Song.mpc" "7 Song.mpc" "8 Song.mpc" "9 Song.mpc" \
                        "10 Song.mpc" cover.jpg)
                done
            done
            touch "$tree/.made"
        fi
        echo "a dropped folder of 20,000 files in 2,000 folders:"
        (cd "$work/folder" && wine_run "$build/bench_folder.exe" "$(winpath "$tree")" 20000 2>>"$log") ||
            echo "  (the list did not end with every file)"
    else
        echo "dropped folder: not measured: the dialog library (ui/, res/) is not there yet"
    fi
}

# 11. 400 files of 1 s (real Musepack files with a title), each beside an old
# MP3, two at once, through the stand-in tools; the stand-in encoder writes a
# real 1-s MP3, so that the length check and the tag copy do their work.
bench_old_mp3s() {
    if [ -f "$build/tests/tools/fake_decoder.exe" ] && command -v sox >/dev/null &&
        command -v mpcenc >/dev/null && command -v lame >/dev/null; then
        mkdir -p "$work/oldmp3" "$work/oldmp3-run"
        sox -n -r 44100 -c 2 -b 16 "$work/second.wav" synth 1 sine 440 vol 0.5
        mpcenc --silent --overwrite --title "One second" "$work/second.wav" "$work/second.mpc" >>"$log" 2>&1
        lame --silent "$work/second.wav" "$work/second.mp3" >>"$log" 2>&1
        for i in $(seq -w 1 "${BENCH_OLD_MP3S:-400}"); do
            cp "$work/second.mpc" "$work/oldmp3/song $i.mpc"
            printf 'the old MP3 %s' "$i" >"$work/oldmp3/song $i.mp3"
        done
        (cd "$work/oldmp3-run" && BRAMKOT_ENCODER_WRITES=$(winpath "$work/second.mp3") wine_run "$build/bench_run.exe" \
            oldmp3 "$(winpath "$build/tests/tools/fake_decoder.exe")" \
            "$(winpath "$build/tests/tools/fake_encoder.exe")" "$(winpath "$work/oldmp3")" >>"$log" 2>&1) ||
            echo "  (some files failed: see $log)"
        cat "$work/oldmp3-run/bench-result.txt" 2>/dev/null || echo "old MP3s: not measured: bench_run failed (see $log)"
    else
        echo "old MP3s: not measured: needs the stand-in tools, sox, mpcenc and lame"
    fi
}

for p in $parts; do
    case "$p" in
    1) bench_overhead ;;
    2) bench_real_work ;;
    3) bench_drop ;;
    4) bench_startup ;;
    5) bench_size ;;
    6) bench_finish ;;
    7) bench_alias ;;
    8) bench_answer ;;
    9) bench_parallel ;;
    10) bench_folder ;;
    11) bench_old_mp3s ;;
    12) bench_steps ;;
    esac
    echo
done
echo "bench: tool and command processor output is in $log"
