#!/bin/sh
# End to end under Wine with the real tools: makes Musepack files from sox
# tones with mpcenc, converts them through the real conversion run with the
# shim standing in for mppdec.exe and lame.exe (running mpcdec and lame), once
# beside the inputs and once into an output folder, and checks that every MP3
# decodes to its input's duration within 0.1 s. With the dialog driver it
# converts them a third time through the real dialog's "Convert Files".
# Usage: run_e2e.sh <wine-run> <e2e_convert.exe> <tool_shim.exe> [<e2e_dialog.exe>]
set -u
wine_run=$1
convert=$2
shim=$3
dialog=${4:-}

for tool in sox soxi mpcenc lame; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed"; exit 1; }
done

work=$(mktemp -d /tmp/bramkot-e2e.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/tools (x86)" "$work/music & more" "$work/mp3 (out) Ü" "$work/cwd" "$work/wav" \
    "$work/dialog & co"
cp "$shim" "$work/tools (x86)/mppdec.exe"
cp "$shim" "$work/tools (x86)/lame.exe"

# name|seconds|frequency: spaces, %, &, !, ^, an accented letter, one file
# longer than a minute, which sorts last so that a run returning before its
# encoder finished would leave its MP3 incomplete.
cat >"$work/tones" <<'LIST'
tone one|1.5|330
50% louder & more|3.25|440
wow!^ (live) %PATH%|0.75|550
Café au lait|4.4|660
zz 61s long ^& 100%%|61.2|220
LIST

failures=0
fail() {
    echo "e2e: FAIL: $*"
    failures=$((failures + 1))
}

while IFS='|' read -r name seconds frequency; do
    sox -n -r 44100 -c 2 -b 16 -t wavpcm "$work/wav/$name.wav" synth "$seconds" sine "$frequency" \
        || fail "sox for $name"
    mpcenc --silent "$work/wav/$name.wav" "$work/music & more/$name.mpc" >/dev/null 2>&1 \
        || fail "mpcenc for $name"
done <"$work/tones"

# check_mp3s <folder>: every tone's MP3 is there and lasts as long as its input.
check_mp3s() {
    while IFS='|' read -r name seconds frequency; do
        mp3="$1/$name.mp3"
        if [ ! -s "$mp3" ]; then
            fail "no MP3 for '$name' in $1"
            continue
        fi
        rm -f "$work/decoded.wav"
        lame --quiet --decode "$mp3" "$work/decoded.wav" || fail "lame --decode '$mp3'"
        want=$(soxi -D "$work/wav/$name.wav")
        got=$(soxi -D "$work/decoded.wav" 2>/dev/null || echo -1)
        if awk -v a="$want" -v b="$got" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d < 0.1) }'; then
            echo "e2e: ok   '$name': input $want s, MP3 $got s"
        else
            fail "'$name': input $want s, MP3 decodes to $got s"
        fi
    done <"$work/tones"
}

count_mp3s() {
    find "$1" -maxdepth 1 -name '*.mp3' | wc -l
}

cd "$work/cwd" || exit 1
start=$(date +%s)
echo "e2e: converting beside the inputs"
"$wine_run" "$convert" "$work/tools (x86)" "$work/music & more" || fail "the run beside the inputs"
check_mp3s "$work/music & more"
[ "$(count_mp3s "$work/music & more")" -eq 5 ] || fail "stray MP3 files beside the inputs"
rm -f "$work/music & more"/*.mp3

echo "e2e: converting into an output folder"
"$wine_run" "$convert" "$work/tools (x86)" "$work/music & more" "$work/mp3 (out) Ü" \
    || fail "the run into the output folder"
check_mp3s "$work/mp3 (out) Ü"
[ "$(count_mp3s "$work/music & more")" -eq 0 ] || fail "MP3 files beside the inputs"
[ -z "$(ls -A "$work/cwd")" ] || fail "files left in the current directory: $(ls -A "$work/cwd")"

if [ -n "$dialog" ]; then
    echo "e2e: converting through the dialog's Convert Files"
    "$(dirname "$wine_run")/with-display.sh" "$wine_run" "$dialog" convert_real_files \
        "$work/tools (x86)" "$work/music & more" "$work/dialog & co" || fail "the dialog's run"
    check_mp3s "$work/dialog & co"
    [ "$(count_mp3s "$work/music & more")" -eq 0 ] || fail "MP3 files beside the inputs"
else
    echo "e2e: no dialog driver in this build: the dialog's Convert Files is not run"
fi
echo "e2e: conversions took $(( $(date +%s) - start )) s"

if [ "$failures" -ne 0 ]; then
    echo "e2e: $failures failures"
    exit 1
fi
echo "e2e: all passed"
