#!/bin/sh
# Checks the shipped program file: a 32-bit PE GUI executable that imports
# only DLLs that come with Windows (the C and C++ runtimes are linked in).
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
for dll in $(echo "$headers" | sed -n 's/.*DLL Name: //p'); do
    case "$(echo "$dll" | tr 'a-z' 'A-Z')" in
    KERNEL32.DLL|USER32.DLL|GDI32.DLL|SHELL32.DLL|COMCTL32.DLL|MSVCRT.DLL|ADVAPI32.DLL)
        echo "check-exe: ok: imports $dll" ;;
    *) echo "check-exe: FAILED: imports $dll, which Windows does not ship"; failed=1 ;;
    esac
done
size=$(wc -c <"$exe")
echo "check-exe: $exe is $size bytes"
exit $failed
