#!/bin/sh
# Makes docs/main-dialog.png, the README's picture of the main dialog during a
# run, and docs/main-dialog-144dpi.png, the same at 144 dpi (a display scaled
# to 150 %): the GUI tests' screenshot case, run under Wine (on the build
# Wine here runs), with the image's metadata left out.
# Usage: make-screenshot.sh   (after setup.sh)
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cd "$root"
arch=$("$here/wine-arch")
"$here/build.sh" "$arch" >"build/screenshot-build.log"
take() {
    "$here/with-display.sh" ctest --test-dir "build/windows-$arch" -R '^gui\.screenshots$' \
        --output-on-failure >/dev/null
    convert "build/windows-$arch/screenshots/main.png" -strip "PNG8:$1"
    echo "make-screenshot: $1, $(wc -c <"$1") bytes ($arch build)"
}
take docs/main-dialog.png
# Wine scales dialogs with the prefix's LogPixels, as Windows does for a
# program that declares itself DPI-aware.
desktop='HKCU\Control Panel\Desktop'
trap '"$here/wine-run" reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true' EXIT
"$here/wine-run" reg add "$desktop" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
take docs/main-dialog-144dpi.png
