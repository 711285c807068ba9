#!/bin/sh
# Takes the pictures of the dialogs (the test program's "screenshots" case)
# and turns them into PNG files.
# Usage: screenshots.sh EMULATOR TEST_PROGRAM OUTPUT_FOLDER DECODER ENCODER
set -e
emulator=$1 program=$2 out=$3 decoder=$4 encoder=$5
mkdir -p "$out"
rm -f "$out/main.bmp" "$out/about.bmp" "$out/main.png" "$out/about.png"
# Wine draws the windows' frames and captions itself (no window manager runs
# under Xvfb to draw them).
"$emulator" reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$program")\\X11 Driver" \
    /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true
"$emulator" "$program" screenshots "$out" "$decoder" "$encoder"
for name in main about; do
    convert "$out/$name.bmp" "$out/$name.png"
    rm -f "$out/$name.bmp"
    echo "screenshot: $out/$name.png"
done
