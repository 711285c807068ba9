#!/bin/sh
# Installs what building and testing need on a Debian machine (as root) and
# creates the project's Wine prefix. Safe to run again.
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)

packages="cmake make g++ googletest libgtest-dev clang libclang-rt-dev clang-format
  gcc-mingw-w64-i686-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64-i686
  gcc-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
  wine wine64 wine32:i386 fonts-wine xvfb x11-apps x11-utils imagemagick xdotool
  musepack-tools lame sox zip python3-mutagen libimage-exiftool-perl id3v2 ffmpeg dpkg-dev"

missing=
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "setup: installing$missing"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q >/dev/null
    # shellcheck disable=SC2086
    apt-get install -y -q --no-install-recommends $missing >/dev/null
fi

prefix="$root/build/wine-prefix"
if [ ! -f "$prefix/.bramkot-ready" ]; then
    echo "setup: creating the Wine prefix $prefix"
    rm -rf "$prefix"
    mkdir -p "$root/build"
    export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 wineboot -i \
        </dev/null >"$root/build/wineboot.log" 2>&1 || true
    /usr/lib/wine/wineserver64 -w </dev/null >/dev/null 2>&1 || true
    # Windows' own metrics for "MS Sans Serif" 8 need Wine's font files in the prefix.
    cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
    touch "$prefix/.bramkot-ready"
fi
