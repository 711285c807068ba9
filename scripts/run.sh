#!/bin/sh
# Installs what is missing (as root, on Debian), builds, and starts BRAMKOT
# under Wine in the current directory, so its bramkot.ini and bramkot.bat
# live there.
#   With a display ($DISPLAY works): opens the window; returns when it closes.
#   Without one: runs it under a private Xvfb, waits for the window, saves a
#   screenshot (build/screenshots/run.png), says where, and closes the program.
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)

"$here/setup.sh"
arch=$("$here/wine-arch")
mkdir -p "$root/build"
echo "run: building the $arch program (log: build/run-build.log)"
"$here/build.sh" "$arch" >"$root/build/run-build.log" 2>&1 || {
    tail -n 30 "$root/build/run-build.log" >&2
    exit 1
}
program="$root/build/windows-$arch/app/bramkot.exe"
[ -f "$program" ] || { echo "run: $program was not built" >&2; exit 1; }

if [ -n "$DISPLAY" ] && xdpyinfo >/dev/null 2>&1; then
    echo "run: starting $program in $(pwd)"
    exec "$here/wine-run" "$program"
fi

# No display: a private Xvfb, a screenshot, then the program is closed.
display=:$((100 + $$ % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT INT TERM
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# No window manager draws the frames here: Wine draws them itself, for this
# run only.
key='HKCU\Software\Wine\AppDefaults\bramkot.exe\X11 Driver'
"$here/wine-run" reg add "$key" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true

echo "run: starting $program in $(pwd) under Xvfb $display"
"$here/wine-run" "$program" </dev/null >/dev/null 2>&1 &
pid=$!
window=
for _ in $(seq 120); do
    window=$(xdotool search --onlyvisible --name '^BRAMKOT$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.5
done
"$here/wine-run" reg delete "$key" /v Decorated /f >/dev/null 2>&1 || true
if [ -z "$window" ]; then
    echo "run: the BRAMKOT window did not appear" >&2
    exit 1
fi
sleep 2  # let it paint
mkdir -p "$root/build/screenshots"
shot="$root/build/screenshots/run.png"
import -window "$window" "$shot"
echo "run: the window is up; screenshot saved to $shot"

# Escape closes the dialog without saving, as for a user.
xdotool windowfocus "$window" key --window "$window" Escape 2>/dev/null || true
for _ in $(seq 20); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.25
done
if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    how="ended the program"
else
    how="closed the program with Escape"
fi
wait "$pid" 2>/dev/null || true
pid=
echo "run: $how"
