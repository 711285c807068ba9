#!/bin/sh
# Checks the Windows package: makes it from the i686 build, unpacks it and
# compares what it holds, then builds the program and the package again from
# a copy of the sources in another folder, which must give the same bytes.
# Usage: check-package.sh   (after build.sh i686)
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build="$root/build/windows-i686"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
ok() { echo "check-package: ok: $1"; }
fail() { echo "check-package: FAILED: $1"; failed=1; }

cmake --build "$build" --target package-zip -j2 >"$work/first.log" 2>&1 ||
    { cat "$work/first.log"; fail "making the package"; exit 1; }
grep -E '^(package|SHA-256)' "$work/first.log"
zip=$(sed -n 's/^package: //p' "$work/first.log")
folder=$(basename "$zip" .zip)

mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip") || fail "unpacking $zip"
# The program the Wine tests run where Wine runs 32-bit programs
# (scripts/wine-arch prints i686). Where it prints x86_64, as on machines
# whose kernel runs no 32-bit programs, the Wine tests run the x86_64 build
# of the same sources, and this file is checked by check-exe.sh alone.
if cmp -s "$work/unpacked/$folder/bramkot.exe" "$build/app/bramkot.exe"; then
    ok "$folder/bramkot.exe is build/windows-i686/app/bramkot.exe"
else
    fail "$folder/bramkot.exe differs from build/windows-i686/app/bramkot.exe"
fi
cr=$(printf '\r')
for text in README.txt LICENSE.txt; do
    file="$work/unpacked/$folder/$text"
    lines=$(wc -l <"$file" 2>/dev/null || echo 0)
    if [ "$lines" -gt 0 ] && [ "$(grep -c "$cr\$" "$file")" -eq "$lines" ] &&
        [ "$(tail -c 1 "$file" | od -An -c | tr -d ' ')" = '\n' ]; then
        ok "$folder/$text: $lines lines, all ending in CR LF"
    else
        fail "$folder/$text is missing or not CR LF text"
    fi
done

# A second build from the files of this working tree, copied elsewhere.
mkdir "$work/source"
(cd "$root" && git ls-files -z --cached --others --exclude-standard | tar cf - --null -T -) |
    tar xf - -C "$work/source" || fail "copying the sources"
cmake -S "$work/source" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DBRAMKOT_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$work/source/cmake/mingw-i686.cmake" >"$work/second.log" 2>&1 &&
    cmake --build "$work/build" --target package-zip -j2 >>"$work/second.log" 2>&1 ||
    { cat "$work/second.log"; fail "the second build"; exit 1; }
echo "check-package: the second build, in $work/build:"
grep -E '^SHA-256' "$work/second.log"
for file in app/bramkot.exe "$folder.zip"; do
    if cmp -s "$build/$file" "$work/build/$file"; then
        ok "$file is the same from both builds"
    else
        fail "$file differs between the builds"
    fi
done
exit $failed
