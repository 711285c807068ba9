#!/bin/sh
# Sets up a Debian machine (as root), builds everything and runs every test:
# the native unit tests, the Wine tests of the Windows build under Xvfb and the
# fuzzers for a bounded time. Exits non-zero when any test fails.
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cd "$root"

"$here/setup.sh"
arch=$("$here/wine-arch")
echo "test: Wine here runs $arch programs; the Wine tests use the $arch build"
"$here/build.sh" native i686 "$arch"
echo "test: the Windows tools of the end-to-end tests ($arch), built once and kept in build/"
"$here/build-windows-tools.sh" "$arch" >/dev/null

failed=
echo "test: the shipped program file"
"$here/check-exe.sh" || failed="$failed program-file"

echo "test: the package, and a second build of it in another folder"
"$here/check-package.sh" || failed="$failed package"

echo "test: source format"
"$here/check-format.sh" || failed="$failed format"

echo "test: native unit tests"
ctest --test-dir build/native --output-on-failure -j2 || failed="$failed native"

echo "test: Wine tests ($arch)"
"$here/with-display.sh" ctest --test-dir "build/windows-$arch" --output-on-failure \
    --timeout 900 || failed="$failed wine"

if [ -x "$root/fuzz/run.sh" ]; then
    echo "test: fuzzers"
    "$root/fuzz/run.sh" || failed="$failed fuzz"
fi

if [ -n "$failed" ]; then
    echo "test: FAILED:$failed"
    exit 1
fi
echo "test: all passed"
