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
# tags must reach its MP3, and a damaged file must stay listed without an MP3;
# and an MP3 whose encoder wrote its own ID3v1 tag must read the same in
# three independent tag readers, its ReplayGain in four.
# Usage: run_e2e.sh <wine-run> <i686|x86_64> <e2e_convert.exe> [<e2e_dialog.exe>]
set -u
wine_run=$1
arch=$2
convert=$3
dialog=${4:-}

for tool in sox soxi mpcenc lame convert /usr/bin/python3 exiftool id3v2 ffprobe; do
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
# Each says first that the decoder refused its switches, then why in the
# tools' own words: LAME had no audio to read.
[ "$(grep -c "^why: the decoder did not accept its switches \"--gain 2\" (it printed its usage); the tools ended with status .*: Can't init infile '-'$" "$work/defaults.out")" -eq 2 ] \
    || fail "with --gain 2, the reasons do not name the switches and quote the encoder"
[ "$(count_mp3s "$work/tagged")" -eq 0 ] || fail "with --gain 2, an MP3 was left"
# A good MP3 of the damaged file's name, as a user may have from before:
# the failure must leave it as it was, byte for byte.
cp "$work/mp3 (out) Ü/tone one.mp3" "$work/tagged/cut in half.mp3"
convert_with "" "--alt-preset 128" "$work/tagged" 2>&1 | tr -d '\r' >"$work/tagged.out"
cat "$work/tagged.out"
grep -q '^left: .*cut in half\.mpc$' "$work/tagged.out" || fail "the file cut in half was not kept in the list"
[ "$(grep -c '^left: ' "$work/tagged.out")" -eq 1 ] || fail "entries other than the cut file were kept"
cmp -s "$work/mp3 (out) Ü/tone one.mp3" "$work/tagged/cut in half.mp3" ||
    fail "the MP3 that was there before the file cut in half failed is not as it was"
rm -f "$work/tagged/cut in half.mp3"
check_mp3s "$work/tagged" "$work/tones tagged"
/usr/bin/python3 - "$tagged.mp3" "$work/cover.jpg" <<'PY' || fail "the MP3's tags"
import sys
from mutagen.id3 import ID3
tag = ID3(sys.argv[1], translate=False)
want = {
    "TIT2": ["東京 – ライブ"], "TPE1": ["Björk/Привет мир"], "TALB": ["Ελληνικά"],
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

# The encoder writes only an ID3v1 tag (the Windows build of LAME does so
# with a plain --tt, as every LAME does with --id3v1-only); the Musepack file's APEv2 tag holds a
# full date, a front and a back cover of one file name, two artists, an item
# twice, lyrics and ReplayGain items (one key in lower case). mutagen,
# exiftool and id3v2 (id3lib) must each show the encoder's title, the date,
# both covers, both artists, the last of the repeated item, the lyrics, and
# the ReplayGain unchanged (mpcdec applies none) in TXXX frames, which
# ffprobe must read too.
echo "e2e: the encoder's own ID3v1 title beside the Musepack file's tags, in three readers, its ReplayGain in four"
mkdir "$work/own title"
echo "own title|2.0|600|mpc" >"$work/tones own title"
sox -n -r 44100 -c 2 -b 16 -t wavpcm "$work/wav/own title.wav" synth 2.0 sine 600 || fail "sox for own title"
mpcenc --silent "$work/wav/own title.wav" "$work/own title/own title.mpc" >/dev/null 2>&1 \
    || fail "mpcenc for own title"
convert -size 40x30 xc:blue "$work/back.jpg" || fail "convert for the back cover"
/usr/bin/python3 - "$work/own title/own title.mpc" "$work/cover.jpg" "$work/back.jpg" <<'PY' || fail "the APEv2 tag"
import struct, sys
front, back = (open(path, "rb").read() for path in sys.argv[2:4])
# An item twice (against the format, as real files have it) needs the bytes by hand.
items = [(b"Title", b"Source title", 0), (b"Artist", "Björk\0Привет мир".encode(), 0),
         (b"Album", b"First", 0), (b"Year", b"2004-05-01T12:30", 0), (b"Genre", b"Rock\0Pop", 0),
         (b"Lyrics", b"Line one\nLine two", 0), (b"REPLAYGAIN_TRACK_GAIN", b"-3.20 dB", 0),
         (b"replaygain_track_peak", b"0.988312", 0), (b"REPLAYGAIN_ALBUM_GAIN", b"-6.54 dB", 0),
         (b"REPLAYGAIN_ALBUM_PEAK", b"1.000000", 0), (b"Album", b"Last", 0),
         (b"Cover Art (Back)", b"cover.jpg\0" + back, 1),
         (b"Cover Art (Front)", b"cover.jpg\0" + front, 1)]
body = b"".join(struct.pack("<II", len(v), kind << 1) + k + b"\0" + v for k, v, kind in items)
fields = struct.pack("<III", 2000, len(body) + 32, len(items))
with open(sys.argv[1], "ab") as f:
    f.write(b"APETAGEX" + fields + struct.pack("<I", 0xA0000000) + bytes(8) + body +
            b"APETAGEX" + fields + struct.pack("<I", 0x80000000) + bytes(8))
PY
convert_with "" "--alt-preset 128 --tt Mine" "$work/own title" >"$work/own title.out" 2>&1 \
    || { tr -d '\r' <"$work/own title.out"; fail "the run with the encoder's own title"; }
check_mp3s "$work/own title" "$work/tones own title"
/usr/bin/python3 - "$work/own title/own title.mp3" "$work/cover.jpg" "$work/back.jpg" <<'PY' || fail "what the readers show"
import json, re, subprocess, sys
from mutagen.id3 import ID3
mp3, front, back = sys.argv[1], open(sys.argv[2], "rb").read(), open(sys.argv[3], "rb").read()
seen = {}
tag = ID3(mp3)
seen["mutagen"] = ["version %d.%d" % tag.version[:2]] + [
    "%s=%s" % (key, "|".join(str(v) for v in tag[key].text))
    for key in ("TIT2", "TPE1", "TDRC", "TALB", "TCON") if key in tag] + [
    "USLT=" + f.text for f in tag.getall("USLT")] + [
    "APIC=%d %s %s" % (p.type, p.desc, p.data == (front if p.type == 3 else back))
    for p in tag.getall("APIC")] + [
    "%s=%s" % (f.desc, f.text[0]) for f in tag.getall("TXXX") if "REPLAYGAIN" in f.desc.upper()]
def output(*command):  # LAME's own frame holds bytes of no character set
    return subprocess.run(command, capture_output=True, text=True, errors="replace").stdout
exiftool = output("exiftool", "-a", "-G1", "-s", mp3)
seen["exiftool"] = []
for group, name, value in re.findall(r"^\[(ID3v\S+)\]\s+(\S+)\s+: (.*)$", exiftool, re.M):
    if name in ("PictureDescription", "Picture"):  # the picture of the PictureType before
        seen["exiftool"][-1] += ", %s=%s" % (name, value)
    elif name in ("Title", "Artist", "Year", "Date", "Time", "Album", "Lyrics", "PictureType") and (
            group != "ID3v1" or name == "Title") or "REPLAYGAIN" in value.upper():
        seen["exiftool"].append("%s %s=%s" % (group, name, value))
id3v2 = output("id3v2", "-l", mp3)
seen["id3v2"] = re.findall(r"^(?:TIT2|TPE1|TYER|TDAT|TIME|TALB|APIC) \(.*$", id3v2, re.M) + [
    "ID3v1 " + m for m in re.findall(r"^(Title  : \S+)", id3v2, re.M)] + [
    # Lyrics run over several lines, up to the next frame.
    "USLT=" + m for m in re.findall(r"^USLT \(.*?\): \(\)\[eng\]: (.*?)\n(?=[A-Z0-9]{4} \(|$)",
                                    id3v2, re.M | re.S)] + [
    line for line in id3v2.splitlines() if "REPLAYGAIN" in line.upper()]
# FFmpeg reads the TXXX frames as the file's tags and as the gains it applies, in place of
# the track gain of LAME's Info tag. (FFmpeg 5.1 prints their peaks scaled wrongly.)
probe = json.loads(output("ffprobe", "-v", "error", "-show_entries", "format_tags", "-of",
                          "json", mp3))
seen["ffprobe"] = ["%s=%s" % (key.upper(), value) for key, value in
                   probe["format"].get("tags", {}).items() if "REPLAYGAIN" in key.upper()] + [
    "%s=%s" % found for found in re.findall(r"\b(track gain|album gain) - ([^,]*),",
                                            subprocess.run(["ffprobe", "-hide_banner", mp3],
                                                           capture_output=True, text=True,
                                                           errors="replace").stderr)]
gains = [("REPLAYGAIN_TRACK_GAIN", "-3.20 dB"), ("REPLAYGAIN_TRACK_PEAK", "0.988312"),
         ("REPLAYGAIN_ALBUM_GAIN", "-6.54 dB"), ("REPLAYGAIN_ALBUM_PEAK", "1.000000")]
binary = "(Binary data %d bytes, use -b option to extract)"
want = {
    "mutagen": ["version 2.3", "TIT2=Mine", "TPE1=Björk/Привет мир", "TDRC=2004-05-01 12:30:00",
                "TALB=Last", "TCON=Rock; Pop", "USLT=Line one\nLine two",
                "APIC=3 cover.jpg True", "APIC=4 cover.jpg (2) True"] + ["%s=%s" % g for g in gains],
    "exiftool": ["ID3v2_3 Title=Mine", "ID3v2_3 Artist=Björk/Привет мир", "ID3v2_3 Album=Last",
                 "ID3v2_3 Year=2004", "ID3v2_3 Date=0105", "ID3v2_3 Time=1230",
                 "ID3v2_3 Lyrics=Line one.Line two",
                 "ID3v2_3 PictureType=Front Cover, PictureDescription=cover.jpg, Picture="
                 + binary % len(front),
                 "ID3v2_3 PictureType=Back Cover, PictureDescription=cover.jpg (2), Picture="
                 + binary % len(back),
                 "ID3v1 Title=Mine"] + ["ID3v2_3 UserDefinedText=(%s) %s" % g for g in gains],
    "id3v2": ["ID3v1 Title  : Mine", "TIT2 (Title/songname/content description): Mine",
              "TPE1 (Lead performer(s)/Soloist(s)): Björk/Привет мир",
              "TALB (Album/Movie/Show title): Last", "TYER (Year): 2004", "TDAT (Date): 0105",
              "TIME (Time): 1230",
              "APIC (Attached picture): (cover.jpg)[, 3]: image/jpeg, %d bytes" % len(front),
              "APIC (Attached picture): (cover.jpg (2))[, 4]: image/jpeg, %d bytes" % len(back),
              "USLT=Line one\nLine two"] + [
        "TXXX (User defined text information): (%s): %s" % g for g in gains],
    "ffprobe": ["%s=%s" % g for g in gains] + ["track gain=-3.200000", "album gain=-6.540000"],
}
failed = False
for reader in want:
    if sorted(seen[reader]) != sorted(want[reader]):
        failed = True
        print("e2e: %s shows %r\ne2e:   want %r" % (reader, seen[reader], want[reader]))
sys.exit(1 if failed else 0)
PY

echo "e2e: conversions took $(( $(date +%s) - start )) s"

if [ "$failures" -ne 0 ]; then
    echo "e2e: $failures failures"
    exit 1
fi
echo "e2e: all passed"
