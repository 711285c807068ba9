#!/bin/sh
# End to end under Wine with the Windows tools users run, mpcdec.exe and
# lame.exe as scripts/build-windows-tools.sh builds them: makes Musepack files
# from sox tones with mpcenc, converts them through the real conversion run,
# once beside the inputs and once into an output folder, and checks that every
# MP3 decodes to its input's duration within 0.1 s. With the dialog driver it
# converts those without "%" a third time through the real dialog's "Convert
# Files", into an output folder whose name the console code page cannot spell.
# Last, with a file whose name the ANSI code page cannot spell: the program's
# default switches (made for mppdec) convert nothing with mpcdec; then its
# tags must reach its MP3, and a damaged file must stay listed without an MP3.
# Usage: run_e2e.sh <wine-run> <i686|x86_64> <e2e_convert.exe> [<e2e_dialog.exe>]
set -u
wine_run=$1
arch=$2
convert=$3
dialog=${4:-}

for tool in sox soxi mpcenc lame convert /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed"; exit 1; }
done

work=$(mktemp -d /tmp/bramkot-e2e.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/tools (x86)" "$work/music & more" "$work/mp3 (out) Ü" "$work/cwd" "$work/wav" \
    "$work/Ausgabe ø–’"
tools=$("$(dirname "$wine_run")/build-windows-tools.sh" "$arch") || { echo "e2e: no Windows tools"; exit 1; }
cp "$tools/mpcdec.exe" "$tools/lame.exe" "$work/tools (x86)/"
decoder="$work/tools (x86)/mpcdec.exe"
encoder="$work/tools (x86)/lame.exe"

# name|seconds|frequency|extension: spaces, %, &, !, ^, an accented letter,
# letters of the ANSI code page that the console code page lacks (– ’ € Œ ‘),
# one file longer than a minute, which sorts last so that a run returning
# before its encoder finished would leave its MP3 incomplete.
cat >"$work/tones" <<'LIST'
tone one|1.5|330|mpc
50% louder & more|3.25|440|mpc
wow!^ (live) %PATH%|0.75|550|mpc
Café au lait|4.4|660|mpc
Røyksopp – Don’t|2.1|370|mpc
Œuvre €|1.2|415|MPC
Sigur Rós ‘Hoppípolla’|1.7|494|mpp
zz 61s long ^& 100%%|61.2|220|mpc
LIST

failures=0
fail() {
    echo "e2e: FAIL: $*"
    failures=$((failures + 1))
}

while IFS='|' read -r name seconds frequency extension; do
    sox -n -r 44100 -c 2 -b 16 -t wavpcm "$work/wav/$name.wav" synth "$seconds" sine "$frequency" \
        || fail "sox for $name"
    mpcenc --silent "$work/wav/$name.wav" "$work/music & more/$name.mpc" >/dev/null 2>&1 \
        || fail "mpcenc for $name"
    [ "$extension" = mpc ] || mv "$work/music & more/$name.mpc" "$work/music & more/$name.$extension"
done <"$work/tones"

# check_mp3s <folder> [<tones>]: every tone's MP3 is there, named after its
# input (.MPC gives .MP3), and lasts as long as its input.
check_mp3s() {
    while IFS='|' read -r name seconds frequency extension; do
        mp3="$1/$name.${extension%?}3"
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
    done <"${2:-$work/tones}"
}

count_mp3s() {
    find "$1" -maxdepth 1 -iname '*.mp3' | wc -l
}

# convert_with <decoder switches> <encoder switches> <music folder> [<output folder>]
convert_with() {
    decoder_switches=$1
    encoder_switches=$2
    shift 2
    "$wine_run" "$convert" "$decoder" "$decoder_switches" "$encoder" "$encoder_switches" "$@"
}

cd "$work/cwd" || exit 1
start=$(date +%s)
echo "e2e: converting beside the inputs"
convert_with "" "--alt-preset 128" "$work/music & more" || fail "the run beside the inputs"
check_mp3s "$work/music & more"
[ "$(count_mp3s "$work/music & more")" -eq 8 ] || fail "stray MP3 files beside the inputs"
find "$work/music & more" -maxdepth 1 -iname '*.mp3' -delete

echo "e2e: converting into an output folder"
convert_with "" "--alt-preset 128" "$work/music & more" "$work/mp3 (out) Ü" \
    || fail "the run into the output folder"
check_mp3s "$work/mp3 (out) Ü"
[ "$(count_mp3s "$work/music & more")" -eq 0 ] || fail "MP3 files beside the inputs"
[ -z "$(ls -A "$work/cwd")" ] || fail "files left in the current directory: $(ls -A "$work/cwd")"

if [ -n "$dialog" ]; then
    # That output folder reaches the tools through an environment variable,
    # together with each file name. Wine's command processor expands "%" once
    # more inside such a value (Windows does not), so names with "%" stay out.
    echo "e2e: converting through the dialog's Convert Files"
    grep -v % "$work/tones" >"$work/tones without %"
    mkdir "$work/music, no percent"
    while IFS='|' read -r name seconds frequency extension; do
        cp "$work/music & more/$name.$extension" "$work/music, no percent/"
    done <"$work/tones without %"
    "$(dirname "$wine_run")/with-display.sh" "$wine_run" "$dialog" convert_real_files \
        "$decoder" "$encoder" "$work/music, no percent" "$work/Ausgabe ø–’" || fail "the dialog's run"
    check_mp3s "$work/Ausgabe ø–’" "$work/tones without %"
    [ "$(count_mp3s "$work/Ausgabe ø–’")" -eq 5 ] || fail "stray MP3 files in the output folder"
    [ "$(count_mp3s "$work/music, no percent")" -eq 0 ] || fail "MP3 files beside the inputs"
else
    echo "e2e: no dialog driver in this build: the dialog's Convert Files is not run"
fi
# A Musepack file whose name the ANSI code page cannot spell, with real APEv2
# tags (text outside Latin-1, two values of one item, an item of no ID3 frame
# of its own, a front cover) gives an MP3 whose ID3v2.3 tag holds them all,
# read back by mutagen; its half, cut off in the middle of the stream, stays
# listed and leaves no MP3.
echo "e2e: tags carried over, and a Musepack file cut in half"
mkdir "$work/tagged"
tagged_name="東京 – ライブ"
tagged="$work/tagged/$tagged_name"
echo "$tagged_name|4.0|500|mpc" >"$work/tones tagged"
sox -n -r 44100 -c 2 -b 16 -t wavpcm "$work/wav/$tagged_name.wav" synth 4.0 sine 500 || fail "sox for the tagged file"
mpcenc --silent --tag "Title=東京 – ライブ" --tag "Album=Ελληνικά" --tag "Year=2001" --tag "Track=3/12" \
    --tag "Genre=Electronic" --tag "Comment=live, 50% louder" --tag "Mood=calm" \
    "$work/wav/$tagged_name.wav" "$tagged.mpc" >/dev/null 2>&1 || fail "mpcenc for the tagged file"
convert -size 64x48 xc:red "$work/cover.jpg" || fail "convert for the cover picture"
/usr/bin/python3 - "$tagged.mpc" "$work/cover.jpg" <<'PY' || fail "mutagen for the APEv2 tag"
import sys
from mutagen.apev2 import APEv2, APEValue, BINARY, TEXT
tag = APEv2(sys.argv[1])
tag["Artist"] = APEValue("Björk\0Привет мир", TEXT)
tag["Cover Art (Front)"] = APEValue(b"cover.jpg\0" + open(sys.argv[2], "rb").read(), BINARY)
tag.save(sys.argv[1])
PY
size=$(stat -c %s "$tagged.mpc")
head -c $((size / 2)) "$tagged.mpc" >"$work/tagged/cut in half.mpc"
# The program's default switches: mpcdec has no "--gain", prints its usage,
# writes no audio and exits 0; lame then fails.
convert_with "--gain 2" "--alt-preset 128" "$work/tagged" 2>&1 | tr -d '\r' >"$work/defaults.out"
cat "$work/defaults.out"
[ "$(grep -c '^left: ' "$work/defaults.out")" -eq 2 ] || fail "with --gain 2, not both files stayed listed"
[ "$(count_mp3s "$work/tagged")" -eq 0 ] || fail "with --gain 2, an MP3 was left"
convert_with "" "--alt-preset 128" "$work/tagged" 2>&1 | tr -d '\r' >"$work/tagged.out"
cat "$work/tagged.out"
grep -q '^left: .*cut in half\.mpc$' "$work/tagged.out" || fail "the file cut in half was not kept in the list"
[ "$(grep -c '^left: ' "$work/tagged.out")" -eq 1 ] || fail "entries other than the cut file were kept"
[ ! -e "$work/tagged/cut in half.mp3" ] || fail "the file cut in half left an MP3"
check_mp3s "$work/tagged" "$work/tones tagged"
/usr/bin/python3 - "$tagged.mp3" "$work/cover.jpg" <<'PY' || fail "the MP3's tags"
import sys
from mutagen.id3 import ID3
tag = ID3(sys.argv[1], translate=False)
want = {
    "TIT2": ["東京 – ライブ"], "TPE1": ["Björk", "Привет мир"], "TALB": ["Ελληνικά"],
    "TYER": ["2001"], "TRCK": ["3/12"], "TCON": ["Electronic"],
}
problems = []
if tag.version != (2, 3, 0):
    problems.append("ID3 version %r" % (tag.version,))
for frame, values in want.items():
    got = [str(v) for v in tag[frame].text] if frame in tag else None
    if got != values:
        problems.append("%s: %r, want %r" % (frame, got, values))
comments = [str(v) for c in tag.getall("COMM") for v in c.text]
if comments != ["live, 50% louder"]:
    problems.append("COMM: %r" % comments)
moods = [str(v) for t in tag.getall("TXXX") if t.desc.lower() == "mood" for v in t.text]
if moods != ["calm"]:
    problems.append("TXXX Mood: %r" % moods)
pictures = tag.getall("APIC")
if [(p.type, p.mime, p.data) for p in pictures] != [(3, "image/jpeg", open(sys.argv[2], "rb").read())]:
    problems.append("APIC: %r" % [(p.type, p.mime, len(p.data)) for p in pictures])
for problem in problems:
    print("e2e: tag:", problem)
sys.exit(1 if problems else 0)
PY

echo "e2e: conversions took $(( $(date +%s) - start )) s"

if [ "$failures" -ne 0 ]; then
    echo "e2e: $failures failures"
    exit 1
fi
echo "e2e: all passed"
