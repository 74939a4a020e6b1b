#!/usr/bin/env bash
# Set-up, build, the release package in dist/ (scripts/package.sh), then the
# reference host on the sample scene: on a desktop (DISPLAY set) the window
# itself; without one, a scripted session in an Xvfb display of its own, with
# a screenshot and a summary.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh >/dev/null
build=${KELVARO_BUILD:-build}
dll=$build/win/module/Kelvaro.dll
echo "module:  $PWD/$dll"
echo "size:    $(stat -c %s "$dll") bytes"
echo "format:  $(i686-w64-mingw32-objdump -f "$dll" | sed -n 's/.*file format //p')"
echo "imports: $(i686-w64-mingw32-objdump -p "$dll" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
echo "package: $(scripts/package.sh "$build/win")"

host=$build/win/refhost/refhost.exe
scene=${1:-refhost/sample/arm.kscene}
winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
export -f winpath

if [ -n "${DISPLAY:-}" ]; then
  echo "== reference host on $scene (close its window to end)"
  KELVARO_DISPLAY=$DISPLAY exec scripts/wine-session "$build/win" wine "$host" "$(winpath "$scene")"
fi

out=$build/refhost-session
mkdir -p "$out"
rm -f "$out/summary.txt" "$out/restart.txt" "$out/window.png" "$out/after.kscene"
echo "== no display: a scripted session at the reference host on $scene"
status=0
scripts/wine-session "$build/win" bash -c '
  wine "$0" --script --screenshot "$(winpath "$1")/window.png" --summary "$(winpath "$1")/summary.txt" \
    --save "$(winpath "$1")/after.kscene" "$(winpath "$2")" || {
    status=$?; echo "run.sh: the scripted session on $2 failed (status $status)" >&2; exit "$status"; }
  [ -s "$1/after.kscene" ] || { echo "run.sh: the scripted session saved no scene" >&2; exit 1; }
  # A restart: the saved scene in a fresh host; the limits come back from the shape.
  wine "$0" --show-limits Elbow --summary "$(winpath "$1")/restart.txt" "$(winpath "$1")/after.kscene" || {
    status=$?; echo "run.sh: the restart on the saved scene failed (status $status)" >&2; exit "$status"; }
' "$host" "$out" "$scene" || status=$?
cat "$out/summary.txt" 2>/dev/null || true
cat "$out/restart.txt" 2>/dev/null || true
if [ -s "$out/after.kscene" ]; then
  echo "saved scene:      $PWD/$out/after.kscene"
fi
if [ "$status" -ne 0 ]; then
  echo "run.sh: failed (status $status)" >&2
fi
exit "$status"
