#!/bin/sh
# Makes docs/main-dialog.png, the README's picture of the main dialog during a
# run: the GUI tests' screenshot case, run under Wine (on the
# build Wine here runs), with the image's metadata left out.
# Usage: make-screenshot.sh   (after setup.sh)
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cd "$root"
arch=$("$here/wine-arch")
"$here/build.sh" "$arch" >"build/screenshot-build.log"
"$here/with-display.sh" ctest --test-dir "build/windows-$arch" -R '^gui\.screenshots$' \
    --output-on-failure >/dev/null
convert "build/windows-$arch/screenshots/main.png" -strip PNG8:docs/main-dialog.png
echo "make-screenshot: docs/main-dialog.png, $(wc -c <docs/main-dialog.png) bytes ($arch build)"
