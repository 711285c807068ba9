#!/bin/sh
# Builds the native tree (logic and its unit tests) and the Windows trees:
# build/native, build/windows-i686 (the program as shipped) and, where Wine
# here runs only 64-bit programs, build/windows-x86_64 for the Wine tests.
# Usage: build.sh [native|i686|x86_64]...   (default: native, i686 and the Wine test arch)
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cd "$root"

build_native() {
    cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >build/native-configure.log
    cmake --build build/native -j2
}

build_windows() {
    cmake -S . -B "build/windows-$1" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$1.cmake" >"build/windows-$1-configure.log"
    cmake --build "build/windows-$1" -j2
}

mkdir -p build
targets="$*"
[ -n "$targets" ] || targets="native i686 $("$here/wine-arch")"
done_list=
for t in $targets; do
    case " $done_list " in *" $t "*) continue ;; esac
    case "$t" in
    native) build_native ;;
    i686|x86_64) build_windows "$t" ;;
    *) echo "build.sh: unknown target $t" >&2; exit 2 ;;
    esac
    done_list="$done_list $t"
done
