#!/bin/sh
# Builds the Windows console tools that users run with the program, LAME's
# lame.exe and Musepack's mpcdec.exe and mpcenc.exe, from Debian's source
# packages with MinGW-w64, for the end-to-end tests under Wine. Prints the
# folder that holds them (build/windows-tools/ARCH/bin).
# Usage: build-windows-tools.sh [i686|x86_64]   (default: scripts/wine-arch)
#
# The sources come with `apt-get source` through an apt configuration of our
# own under build/windows-tools/apt: its own sources list, lists and cache;
# the machine's apt configuration is read for nothing but Debian's keyring.
# The tools are built again only when this script (the versions below among
# it), the architecture or the compiler changed.
#
# What the builds needed, with Debian 12's MinGW-w64 GCC 12:
# - libmpc 2:0.1~r495-3 (trixie), not bookworm's r495-2: the mirror has no
#   libmpc_0.1~r495-2.debian.tar.xz (404). -3 has the same upstream tarball
#   and one patch more (a GCC 14 fix).
# - Musepack: its CMakeLists.txt sets CMAKE_C_FLAGS, so our flags go into
#   CMAKE_C_FLAGS_RELEASE. -fcommon: common/fastmath.c declares its tables
#   const without an initialiser and fills them at start; with -fno-common,
#   GCC's default since GCC 10, they land in read-only .rdata and mpcenc.exe
#   dies on its first write. mpcgain and mpcchap need libreplaygain and
#   libcue, which no tool here uses: their find results are set to "unused"
#   so that CMake configures, and only mpcdec and mpcenc are built.
# - LAME: its configure does not take "12-win32" for a GCC version and then
#   adds no optimisation at all, so CFLAGS gives -O2 (Debian's level). It
#   needs no -fcommon: its uninitialised globals are defined once and are
#   not const. Without iconv (MinGW has none) its frontend takes the plain
#   ID3 calls, so `--tt` writes an ID3v1 tag only, unless `--add-id3v2`.
# - Both: linked with -static, so they import only Windows' own DLLs
#   (checked below).
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)

lame_version=3.100-6
libmpc_version=2:0.1~r495-3
mirror=http://deb.debian.org/debian
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
allowed_dlls="kernel32.dll msvcrt.dll user32.dll winmm.dll"

arch=${1:-$("$here/wine-arch")}
case "$arch" in
i686|x86_64) triple=$arch-w64-mingw32 ;;
*) echo "build-windows-tools: unknown architecture $arch" >&2; exit 2 ;;
esac
cc=$triple-gcc-win32
top=$root/build/windows-tools
out=$top/$arch
bin=$out/bin
key="$(sha256sum <"$0" | cut -d' ' -f1) $arch $($cc --version | head -n1)"

if [ -f "$bin/key" ] && [ "$(cat "$bin/key")" = "$key" ] &&
    [ -f "$bin/lame.exe" ] && [ -f "$bin/mpcdec.exe" ] && [ -f "$bin/mpcenc.exe" ]; then
    echo "$bin"
    exit 0
fi

start=$(date +%s)
echo "build-windows-tools: building lame.exe, mpcdec.exe and mpcenc.exe for $arch" >&2
rm -rf "$out" "$top/src"
mkdir -p "$bin" "$top/src" "$top/apt/sources.list.d" "$top/apt/lists/partial" \
    "$top/apt/cache/archives/partial"
log=$out/build.log
: >"$log"
fail() {
    echo "build-windows-tools: $* failed; see $log" >&2
    tail -n 20 "$log" >&2
    exit 1
}

cat >"$top/apt/sources.list" <<EOF
deb-src [signed-by=$keyring] $mirror bookworm main
deb-src [signed-by=$keyring] $mirror trixie main
EOF
with_own_apt() {
    "$@" -q -o Dir::Etc::SourceList="$top/apt/sources.list" \
        -o Dir::Etc::SourceParts="$top/apt/sources.list.d" -o Dir::State::Lists="$top/apt/lists" \
        -o Dir::Cache="$top/apt/cache" -o APT::Sandbox::User=root
}
with_own_apt apt-get update >>"$log" 2>&1 || fail "apt-get update"
(cd "$top/src" && with_own_apt apt-get source "lame=$lame_version" "libmpc=$libmpc_version") >>"$log" 2>&1 ||
    fail "apt-get source"
lame_src=$(find "$top/src" -mindepth 1 -maxdepth 1 -type d -name 'lame-*')
libmpc_src=$(find "$top/src" -mindepth 1 -maxdepth 1 -type d -name 'libmpc-*')

mkdir "$out/lame"
(cd "$out/lame" &&
    "$lame_src/configure" --host="$triple" CC="$cc" CFLAGS=-O2 LDFLAGS=-static \
        --disable-shared --enable-static --disable-gtktest &&
    make -j2) >>"$log" 2>&1 || fail "the LAME build"
cp "$out/lame/frontend/lame.exe" "$bin/"

(cmake -S "$libmpc_src" -B "$out/libmpc" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O3 -DNDEBUG -fcommon" \
    -DREPLAY_GAIN_INCLUDE_DIR=unused -DREPLAY_GAIN_LIBRARY=unused \
    -DCUEFILE_INCLUDE_DIR=unused -DCUEFILE_LIBRARY=unused &&
    cmake --build "$out/libmpc" -j2 --target mpcdec_cmd mpcenc) >>"$log" 2>&1 ||
    fail "the Musepack build"
cp "$out/libmpc/mpcdec/mpcdec.exe" "$out/libmpc/mpcenc/mpcenc.exe" "$bin/"

for exe in lame mpcdec mpcenc; do
    for dll in $("$triple-objdump" -p "$bin/$exe.exe" | sed -n 's/.*DLL Name: //p' | tr '[:upper:]' '[:lower:]'); do
        case " $allowed_dlls " in
        *" $dll "*) ;;
        *) echo "build-windows-tools: $exe.exe imports $dll" >&2; exit 1 ;;
        esac
    done
done
echo "$key" >"$bin/key"
echo "build-windows-tools: built in $(($(date +%s) - start)) s" >&2
echo "$bin"
