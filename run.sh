#!/usr/bin/env bash
# Set-up, build, the main job: for now, the facts of the built module.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh >/dev/null
dll=${KELVARO_BUILD:-build}/win/module/Kelvaro.dll
echo "module:  $PWD/$dll"
echo "size:    $(stat -c %s "$dll") bytes"
echo "format:  $(i686-w64-mingw32-objdump -f "$dll" | sed -n 's/.*file format //p')"
echo "imports: $(i686-w64-mingw32-objdump -p "$dll" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
