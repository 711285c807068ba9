#!/bin/sh
# Checks the shipped program file: a 32-bit PE GUI executable for Windows XP
# (5.1) and later that imports only DLLs that come with Windows (the C and C++
# runtimes are linked in) and only functions Windows XP SP3 exports, as listed
# in windows-xp-imports.txt.
# Usage: check-exe.sh [path to bramkot.exe]
here=$(cd "$(dirname "$0")" && pwd)
exe="${1:-$here/../build/windows-i686/app/bramkot.exe}"
headers=$(i686-w64-mingw32-objdump -p "$exe") || { echo "check-exe: cannot read $exe"; exit 1; }
failed=0
check() {
    if echo "$headers" | grep -qE "$1"; then echo "check-exe: ok: $2"
    else echo "check-exe: FAILED: $2"; failed=1; fi
}
check 'file format pei-i386' "32-bit x86 program"
check 'Magic[[:space:]]+010b' "PE32 header"
check 'Subsystem[[:space:]]+00000002' "Windows GUI subsystem"
check 'MajorOSystemVersion[[:space:]]+5$' "header: major OS version 5 (XP)"
check 'MinorOSystemVersion[[:space:]]+1$' "header: minor OS version 1 (XP)"
check 'MajorSubsystemVersion[[:space:]]+5$' "header: major subsystem version 5 (XP)"
check 'MinorSubsystemVersion[[:space:]]+1$' "header: minor subsystem version 1 (XP)"
for dll in $(echo "$headers" | sed -n 's/.*DLL Name: //p'); do
    case "$(echo "$dll" | tr 'a-z' 'A-Z')" in
    KERNEL32.DLL|USER32.DLL|GDI32.DLL|SHELL32.DLL|COMCTL32.DLL|SHLWAPI.DLL|MSVCRT.DLL|ADVAPI32.DLL|OLE32.DLL)
        echo "check-exe: ok: imports $dll" ;;
    *) echo "check-exe: FAILED: imports $dll, which Windows does not ship"; failed=1 ;;
    esac
done
# Each import as "DLL function", the DLL in capitals: the lines of a DLL's
# table follow its name and end at an empty line.
imports=$(echo "$headers" | awk '
    /DLL Name:/ { dll = toupper($3); next }
    dll != "" && /Hint\/Ord/ { next }
    dll != "" && NF == 0 { dll = ""; next }
    dll != "" { print dll, $NF }')
allowed=$(grep -v '^#' "$here/windows-xp-imports.txt" | awk 'NF == 2 { print toupper($1), $2 }')
count=$(echo "$imports" | grep -c .)
missing=$(echo "$imports" | grep -vxF "$allowed")
if [ "$count" -gt 0 ] && [ -n "$allowed" ] && [ -z "$missing" ]; then
    echo "check-exe: ok: all $count imports are exported by Windows XP SP3"
else
    echo "check-exe: FAILED: imports not known on Windows XP SP3 (of $count):" $missing
    failed=1
fi
size=$(wc -c <"$exe")
echo "check-exe: $exe is $size bytes"
exit $failed
